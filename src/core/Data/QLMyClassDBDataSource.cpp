#include "Data/QLMyClassDBDataSource.h"

namespace ql {

QLMyClassDBDataSource& QLMyClassDBDataSource::lessonDataSource() {
    static QLMyClassDBDataSource list;
    return list;
}

}  // namespace ql
