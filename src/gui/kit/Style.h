#pragma once
// The palette, fonts and screen sizes of the client, declared once and read by name.
// Sizes are in points; a point is one Qt logical pixel, so the phone screen is 320 × 568.

#include <QColor>
#include <QFont>

namespace qlgui {

class Style {
public:
    // Screen geometry of the portrait phone.
    static constexpr int kScreenWidth = 320;
    static constexpr int kScreenHeight = 568;
    static constexpr int kStatusBarHeight = 20;
    static constexpr int kNavBarHeight = 44;
    static constexpr int kTabBarHeight = 49;

    // Secondary texts, the waiting spinner, dates and prices struck through.
    static QColor grey() { return QColor(161, 157, 150); }
    // Highlights: prices, badges, the custom view of error notices.
    static QColor orange() { return QColor(255, 128, 0); }
    // Tint of the navigation bar's buttons.
    static QColor barTint() { return QColor::fromRgbF(0.8f, 0.0f, 0.0f, 1.0f); }
    // Body texts on light backgrounds.
    static QColor darkGrey() { return QColor(85, 85, 85); }
    // Separators and disabled backgrounds.
    static QColor lightGrey() { return QColor(224, 224, 224); }
    // The navigation bar when its picture is missing.
    static QColor navBarFallback() { return QColor(178, 24, 24); }
    // The tab bar when its picture is missing.
    static QColor tabBarFallback() { return QColor(34, 34, 34); }
    // Buttons of alerts and action sheets.
    static QColor alertButtonText() { return QColor(0, 122, 255); }
    // The destructive button of an action sheet.
    static QColor destructive() { return QColor(255, 59, 48); }
    // The dimming under alerts and action sheets.
    static QColor dimming() { return QColor(0, 0, 0, 102); }
    // Background of overlay notices.
    static QColor noticeBackground() { return QColor(0, 0, 0, 204); }

    // The system font at a size in points, able to draw Chinese text.
    static QFont font(int pointSize, bool bold = false);
};

}  // namespace qlgui
