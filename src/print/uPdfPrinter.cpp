#include "print/uPdfPrinter.h"

#include "platform/Exception.h"
#include "platform/uAtomicFile.h"
#include "platform/uProgramInfo.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

std::unique_ptr<QPdfWriter> OpenPdfWriter(QIODevice* target, const TCurrentPrinter::TJobPaper& paper, int dpi,
                                          const QString& title) {
    auto writer = std::make_unique<QPdfWriter>(target);
    writer->setResolution(dpi);
    writer->setTitle(title);
    writer->setCreator(ProgramInfo::ApplicationTitle());
    const QPageSize size(paper.SizeMM, QPageSize::Millimeter, paper.Name, QPageSize::ExactMatch);
    writer->setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
    return writer;
}

TPdfPrinter::TPdfPrinter(int dpi) : dpi_(dpi) {
    Select(QString::fromLatin1(kName));
}

TPdfPrinter::~TPdfPrinter() = default;

void TPdfPrinter::SetOutputFile(const QString& path) {
    outputFile_ = path;
    outputDevice_ = nullptr;
}

void TPdfPrinter::SetOutputDevice(QIODevice* device) {
    outputDevice_ = device;
    outputFile_.clear();
}

QStringList TPdfPrinter::PrinterNames() const {
    return {QString::fromLatin1(kName)};
}

QString TPdfPrinter::DefaultPrinterName() const {
    return QString::fromLatin1(kName);
}

TQueueDescription TPdfPrinter::Describe() const {
    return TQueueDescription{QString::fromLatin1(kName), QString::fromLatin1(kMakeAndModel), outputFile_,
                             QStringLiteral("PDF-Datei"), true};
}

std::vector<TPaperInfo> TPdfPrinter::DriverPapers() const {
    std::vector<TPaperInfo> papers;
    const std::pair<QPageSize::PageSizeId, const char*> sizes[] = {
        {QPageSize::A3, "A3"}, {QPageSize::A4, "A4"},         {QPageSize::A5, "A5"},
        {QPageSize::A6, "A6"}, {QPageSize::Letter, "Letter"}, {QPageSize::Legal, "Legal"}};
    for (const auto& [id, name] : sizes) {
        const QSizeF mm = QPageSize::size(id, QPageSize::Millimeter);
        papers.push_back(TPaperInfo{QString::fromLatin1(name),
                                    static_cast<std::int32_t>(std::lround(mm.width() * 10)),
                                    static_cast<std::int32_t>(std::lround(mm.height() * 10)),
                                    static_cast<std::uint16_t>(QPageSize::windowsId(id)),
                                    QString::fromLatin1(name), QString::fromLatin1(name)});
    }
    return papers;
}

TDeviceMode TPdfPrinter::DriverDefaults() const {
    TDeviceMode mode;
    mode.QueueName = QString::fromLatin1(kName);
    mode.MakeAndModel = QString::fromLatin1(kMakeAndModel);
    mode.Fields = TDeviceMode::fPaperSize | TDeviceMode::fCopies | TDeviceMode::fColor;
    mode.PaperSize = 9;
    mode.PageSizeKey = QStringLiteral("A4");
    mode.Copies = 1;
    mode.Color = TDeviceMode::kColorColor;
    mode.Resolution = dpi_;
    return mode;
}

QPaintDevice* TPdfPrinter::OpenDocument(const QString& title) {
    if (outputFile_.isEmpty() && !outputDevice_)
        throw Exception(QStringLiteral("Kein Ziel für das PDF-Dokument angegeben"));
    if (!outputFile_.isEmpty()) {
        file_ = std::make_unique<TAtomicFile>(outputFile_);
        target_ = file_.get();
    } else {
        target_ = outputDevice_;
    }
    startSize_ = target_->size();
    title_ = title;
    writer_ = OpenPdfWriter(target_, JobPaper(), dpi_, title);
    return writer_.get();
}

void TPdfPrinter::NextPage() {
    if (writer_)
        writer_->newPage();
}

void TPdfPrinter::CloseDocument() {
    if (!writer_)
        return;
    // A document that never painted still gets its (blank) first page.
    if (target_->size() == startSize_) {
        QPainter painter(writer_.get());
    }
    writer_.reset();
    if (file_) {
        std::unique_ptr<TAtomicFile> file = std::move(file_);
        file->Commit();
    }
    target_ = nullptr;
}

void TPdfPrinter::DiscardDocument() {
    writer_.reset();
    file_.reset(); // the temporary file goes, the target stays as it was
    target_ = nullptr;
}
