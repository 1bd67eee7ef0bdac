#include "document/uFotobuchList.h"

#include "platform/Exception.h"

#include <QString>

void ThrowListIndexError(int index) {
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}
