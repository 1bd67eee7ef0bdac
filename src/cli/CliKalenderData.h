#pragma once

#include <QList>
#include <QString>

#include <utility>

class TKalenderData;

namespace Cli {
// The settings of one calendar as JSON members (name, JSON text), in the order a project stores
// them and under the stored key names: numbers and flags as they are, each padding as an object
// with "Left", "Top", "Right" and "Bottom", each font as an object with "name", "size", "style"
// (a list of "bold", "italic", "underline", "strikeout") and "colour".
QList<std::pair<QString, QString>> kalenderDataMembers(const TKalenderData& data);
} // namespace Cli
