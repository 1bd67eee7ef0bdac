#include "print/uCurrentPrinter.h"

#include "platform/Exception.h"

bool TCurrentPrinter::Select(const QString& name) {
    if (!PrinterNames().contains(name))
        return false;
    selected_ = name;
    deviceMode_ = DriverDefaults();
    return true;
}

TDeviceMode& TCurrentPrinter::DeviceMode() {
    if (!deviceMode_)
        deviceMode_ = TDeviceMode{};
    return *deviceMode_;
}

const TDeviceMode& TCurrentPrinter::DeviceMode() const {
    static const TDeviceMode none;
    return deviceMode_ ? *deviceMode_ : none;
}

bool TCurrentPrinter::Fits(const TDeviceMode& mode) const {
    return !selected_.isEmpty() && mode.MakeAndModel == Describe().MakeAndModel;
}

bool TCurrentPrinter::TakeDeviceMode(const TDeviceMode& mode) {
    if (!Fits(mode))
        return false;
    deviceMode_ = mode;
    deviceMode_->QueueName = selected_;
    return true;
}

void TCurrentPrinter::ResetDeviceMode() {
    if (!selected_.isEmpty())
        deviceMode_ = DriverDefaults();
}

std::vector<TPaperInfo> TCurrentPrinter::Papers() const {
    std::vector<TPaperInfo> papers = DriverPapers();
    if (const auto it = forms_.find(selected_); it != forms_.end())
        papers.insert(papers.end(), it->second.begin(), it->second.end());
    return papers;
}

bool TCurrentPrinter::AddForm(const QString& name, std::int32_t w, std::int32_t h) {
    if (selected_.isEmpty() || !SupportsCustomPageSizes() || w <= 0 || h <= 0)
        return false;
    DeleteForm(name);
    std::vector<TPaperInfo>& forms = forms_[selected_];
    // Forms are numbered after the driver's own papers, from 257 on.
    std::uint16_t number = 257;
    for (const TPaperInfo& p : DriverPapers())
        if (p.PaperNumber >= number)
            number = static_cast<std::uint16_t>(p.PaperNumber + 1);
    for (const TPaperInfo& p : forms)
        if (p.PaperNumber >= number)
            number = static_cast<std::uint16_t>(p.PaperNumber + 1);
    const QString key = QStringLiteral("Custom.%1x%2mm").arg(w / 10.0, 0, 'f', 1).arg(h / 10.0, 0, 'f', 1);
    forms.push_back(TPaperInfo{name, w, h, number, key, QString()});
    return true;
}

void TCurrentPrinter::DeleteForm(const QString& name) {
    const auto it = forms_.find(selected_);
    if (it == forms_.end())
        return;
    std::erase_if(it->second, [&](const TPaperInfo& p) { return p.Name == name; });
}

int TCurrentPrinter::JobResolution() const {
    const int dpi = DeviceMode().Resolution;
    return dpi > 0 ? dpi : 1200;
}

TCurrentPrinter::TJobPaper TCurrentPrinter::JobPaper() const {
    const TDeviceMode& mode = DeviceMode();
    const std::vector<TPaperInfo> papers = Papers();
    auto paperOf = [this, &mode](const TPaperInfo& p) {
        const bool borderless =
            borderlessJob_ || (!mode.PageSizeKey.isEmpty() && mode.PageSizeKey == p.BorderlessKey);
        const QString key = borderless && !p.BorderlessKey.isEmpty() ? p.BorderlessKey : p.Key;
        return TJobPaper{p.Name, key, QSizeF(p.Width / 10.0, p.Height / 10.0)};
    };
    if (mode.Has(TDeviceMode::fFormName) && !mode.FormName.isEmpty())
        for (const TPaperInfo& p : papers)
            if (p.Name.left(TDeviceMode::kMaxFormName) == mode.FormName)
                return paperOf(p);
    if (mode.Has(TDeviceMode::fPaperSize) && mode.PaperSize != TDeviceMode::kPaperUser)
        for (const TPaperInfo& p : papers)
            if (p.PaperNumber == mode.PaperSize)
                return paperOf(p);
    if (mode.Has(TDeviceMode::fPaperWidth) && mode.Has(TDeviceMode::fPaperLength) && mode.PaperWidth > 0 &&
        mode.PaperLength > 0) {
        const double w = mode.PaperWidth / 10.0, h = mode.PaperLength / 10.0;
        return TJobPaper{QStringLiteral("%1 x %2 mm").arg(w, 0, 'f', 1).arg(h, 0, 'f', 1),
                         QStringLiteral("Custom.%1x%2mm").arg(w, 0, 'f', 1).arg(h, 0, 'f', 1), QSizeF(w, h)};
    }
    for (const TPaperInfo& p : papers)
        if (p.PaperNumber == 9)
            return paperOf(p);
    return TJobPaper{QStringLiteral("A4"), QStringLiteral("A4"), QSizeF(210, 297)};
}

QPaintDevice* TCurrentPrinter::BeginDocument(const QString& title) {
    if (jobRunning_)
        throw Exception(QStringLiteral("Es läuft bereits ein Druckauftrag."));
    QPaintDevice* device = OpenDocument(title);
    jobRunning_ = true;
    return device;
}

void TCurrentPrinter::NewPage() {
    if (jobRunning_)
        NextPage();
}

void TCurrentPrinter::EndDocument() {
    if (!jobRunning_)
        return;
    jobRunning_ = false;
    CloseDocument();
}

void TCurrentPrinter::AbortDocument() {
    if (!jobRunning_)
        return;
    jobRunning_ = false;
    DiscardDocument();
}

void FillPaper(TDeviceMode& mode, const TPaperInfo& paper, std::int32_t w, std::int32_t h) {
    mode.FormName = paper.Name.left(TDeviceMode::kMaxFormName);
    mode.PaperSize = paper.PaperNumber;
    mode.PaperWidth = w;
    mode.PaperLength = h;
    mode.PageSizeKey = paper.Key;
    mode.Fields |= TDeviceMode::fPaperSize | TDeviceMode::fPaperLength | TDeviceMode::fPaperWidth |
                   TDeviceMode::fFormName;
}
