#include "platform/uProgramInfo.h"

namespace ProgramInfo {

QString ApplicationTitle() {
    return QStringLiteral("Tintaro Print Kit");
}

QString ProgramVersion() {
    return QStringLiteral("2.00");
}

} // namespace ProgramInfo
