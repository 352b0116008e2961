#include "kit/Style.h"

#include <QStringList>

namespace qlgui {

QFont Style::font(int pointSize, bool bold) {
    QFont f;
    // The first family that has the glyphs wins, character by character.
    f.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                   QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Droid Sans Fallback"),
                   QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    // Points of the phone are logical pixels here, whatever the display's DPI.
    f.setPixelSize(pointSize > 0 ? pointSize : 1);
    f.setBold(bold);
    return f;
}

}  // namespace qlgui
