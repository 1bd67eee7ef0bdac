#pragma once

#include "print/uCurrentPrinter.h"

#include <QString>
#include <QStringList>

#include <vector>

// A CUPS print queue as the print job and the properties dialog need it, read through libcups:
// whether it exists, what it says about itself, its PageSize choices with their imageable areas
// (and which of them print without margins), and its MediaType, Resolution and ColorModel
// choices.
struct TCupsPageSize {
    QString Key;
    QString Text;
    double WidthMM = 0;
    double HeightMM = 0;
    bool ZeroMargins = false;
};

struct TCupsQueue {
    bool Exists = false;
    TQueueDescription Description;
    std::vector<TCupsPageSize> PageSizes;
    bool CustomSizes = false;
    std::vector<TQueueOption> Options; // PageSize, MediaType, Resolution, ColorModel, as listed
    QString DefaultPageSize;

    // The papers of the PageSize choices: a zero-margin variant joins the paper of its size as
    // its borderless key. Standard sizes carry their Windows paper number, others 257 + index.
    std::vector<TPaperInfo> Papers() const;
    // The highest resolution the queue lists, in dots per inch; 0 when it lists none.
    int HighestResolution() const;
    const TQueueOption* Option(const QString& key) const;
};

namespace Cups {
// The queues the CUPS server knows; empty without a server.
QStringList QueueNames();
QString DefaultQueue();
// Exists is false for a queue the server does not know.
TCupsQueue Describe(const QString& name);
} // namespace Cups
