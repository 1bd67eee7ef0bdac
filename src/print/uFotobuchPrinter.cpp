#include "print/uFotobuchPrinter.h"

#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchDocument.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uProgramInfo.h"
#include "platform/uVXRegIniFile.h"
#include "print/uCurrentPrinter.h"
#include "print/uPrinterSupport.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"
#include "render/uPrinterDrawContext.h"

#include <QImage>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

const QString kDeviceMode = QStringLiteral("DeviceMode");
const QString kPrinterValue = QStringLiteral("Drucker");
const QString kShiftValue = QStringLiteral("RandlosverschiebungY");

// An element bitmap beyond this many pixels is refused rather than failing to allocate.
constexpr double kMaxBitmapPixels = 512.0 * 1024 * 1024 / 4;

QString format(const QString& text, int a, int b) {
    QString s = text;
    const int first = static_cast<int>(s.indexOf(QLatin1String("%d")));
    if (first >= 0)
        s.replace(first, 2, QString::number(a));
    const int second = static_cast<int>(s.indexOf(QLatin1String("%d")));
    if (second >= 0)
        s.replace(second, 2, QString::number(b));
    return s;
}

struct TCancelled {};

} // namespace

// One run of the print document: the sheets, the draw context on the printer and the cancel
// state. The document begins with its first sheet, so a job that finds nothing to print opens
// none.
class TFotobuchPrinter::TJob {
public:
    TJob(TFotobuchPrinter& owner) : o_(owner), doc_(owner.document_) {}

    void Run() {
        switch (o_.PrintShop ? 0 : doc_.DocType) {
        case 0:
            SinglePages();
            break;
        case 1:
            TwoPagesPerSheet();
            break;
        default:
            break;
        }
    }

    // Ends or aborts the document; the draw context goes first because it still paints.
    void Finish(bool send) {
        if (dc_)
            dc_->Canvas().EndPaint();
        if (send)
            o_.printer_.EndDocument();
        else
            o_.printer_.AbortDocument();
        dc_.reset();
    }

    bool Cancelled() {
        if (!cancelled_)
            cancelled_ = o_.ui_.IsCancelled();
        return cancelled_;
    }
    bool WasCancelled() const { return cancelled_; }
    int Sheets() const { return sheets_; }

private:
    float PW() const { return doc_.PageWidth; }
    float PH() const { return doc_.PageHeight; }

    void BeginSheet() {
        if (!dc_) {
            QPaintDevice* device = o_.printer_.BeginDocument(title_);
            dc_ = std::make_unique<TPrinterDrawContext>(device);
            dpiX_ = device->logicalDpiX();
            dpiY_ = device->logicalDpiY();
        } else {
            o_.printer_.NewPage();
        }
        ++sheets_;
    }

    // Document (0, 0) is the physical corner of the paper: full-page printing has no offset.
    void SetUpSheet() {
        TTransformation& t = dc_->Transformation;
        t.Scale(static_cast<float>(dpiX_ / 25.4), static_cast<float>(dpiY_ / 25.4));
        const int ps = doc_.PrintSetting;
        if (!o_.PrintShop && (ps == 4 || ps == 16 || ps == 17))
            t.RotateAt(PW() / 2, PH() / 2, 180);
    }

    void SinglePages() {
        const int range = o_.LastPage - o_.FirstPage + 1;
        for (int copy = 0; copy < o_.Copies; ++copy)
            for (int i = o_.FirstPage; i <= o_.LastPage; ++i) {
                TFBPage* page = doc_.Pages.Items(i);
                if (!page || !page->HasContent())
                    continue;
                if (Cancelled())
                    return;
                BeginSheet();
                o_.ui_.ShowProgress(
                    format(Translate(QStringLiteral("Drucke Seite %d von %d")), i - o_.FirstPage + 1, range));
                if (o_.OnSheet)
                    o_.OnSheet(TPrintedSheet{sheets_, i + 1, 0});
                TTransformationSaver saver(dc_->Transformation);
                SetUpSheet();
                if (!o_.PrintShop && doc_.PrintSetting == 7)
                    dc_->Transformation.RotateAt(105, 148.5f, 180);
                else if (!o_.PrintShop && doc_.PrintSetting == 8)
                    dc_->Transformation.RotateAt(105, 74.25f, 180);
                DrawPage(*page);
                if (cancelled_)
                    return;
            }
    }

    void TwoPagesPerSheet() {
        const int pairs = doc_.Pages.Count() / 2;
        const auto selected = [&](int p) {
            return p < static_cast<int>(o_.PageSelection.size()) && o_.PageSelection[static_cast<size_t>(p)];
        };
        for (int copy = 0; copy < o_.Copies; ++copy)
            for (int k = 0; k < pairs; ++k) {
                const int d = 2 * k;
                if (!selected(d) && !selected(d + 1))
                    continue;
                TFBPage* lower = doc_.Pages.Items(d);
                TFBPage* upper = doc_.Pages.Items(d + 1);
                if (!lower->HasContent() && !upper->HasContent())
                    continue;
                if (Cancelled())
                    return;
                BeginSheet();
                o_.ui_.ShowProgress(format(Translate(QStringLiteral("Drucke Seite %d - %d")), d + 1, d + 2));
                if (o_.OnSheet)
                    o_.OnSheet(TPrintedSheet{sheets_, d + 1, d + 2});
                TTransformationSaver saver(dc_->Transformation);
                SetUpSheet();
                TTransformation& t = dc_->Transformation;
                // The fold line moves down by the shift.
                if (doc_.PrintBorderless)
                    t.Translate(0, o_.RandlosverschiebungY);
                t.Rotate(-90);
                t.Translate(-2 * PW(), 0);
                {
                    dc_->ClipToRect(TDrawContext::cmReplace, 0, 0, PW(), PH());
                    TClipRestorer restorer(*dc_);
                    DrawPage(*lower);
                }
                if (cancelled_)
                    return;
                t.Translate(PW(), 0);
                {
                    dc_->ClipToRect(TDrawContext::cmReplace, 0, 0, PW(), PH());
                    TClipRestorer restorer(*dc_);
                    DrawPage(*upper);
                }
                if (cancelled_)
                    return;
            }
    }

    void DrawPage(TFBPage& page) {
        TDrawContext& dc = *dc_;
        if (page.Seitenfarbe != 0xFFFFFF) {
            QImage fill(64, 64, QImage::Format_ARGB32);
            fill.fill(ToQColor(static_cast<TColor>(page.Seitenfarbe)));
            const TRect r = dc.Transformation.BoundingRect(0, 0, PW(), PH());
            dc_->BlitBitmap(fill, r.Left, r.Top, r.Right + 1, r.Bottom + 1);
        }
        for (TFBElement* e : page.Pictures) {
            if (Cancelled())
                return;
            if (auto* frame = dynamic_cast<TFBPictureElement*>(e); frame && frame->HasPicture())
                Offscreen(page, *e, true);
        }
        for (TFBElement* e : page.Calendars) {
            if (Cancelled())
                return;
            if (auto* calendar = dynamic_cast<TFBKalenderElement*>(e))
                DrawKalenderElement(*calendar, dc);
        }
        for (TFBElement* e : page.Sizeables) {
            if (Cancelled())
                return;
            if (e->NeedsBackground())
                Offscreen(page, *e, false);
            else
                DrawElement(*e, dc, 0);
        }
    }

    static TRectF ElementBox(const TFBElement& e, bool picture) {
        if (!picture) {
            const TFBRectF b = e.BoundingBox();
            return RectF(b.Left, b.Top, b.Right, b.Bottom);
        }
        TRectF r;
        if (e.Angle == 0) {
            r = CenteredRectF(e.CenterX, e.CenterY, e.Width, e.Height);
        } else {
            const TFBRectF b = e.BoundingBox();
            r = RectF(b.Left, b.Top, b.Right, b.Bottom);
        }
        float grow = 0;
        if (e.Document() && e.Document()->PicturesHaveShadows)
            grow += 2;
        if (const auto* frame = dynamic_cast<const TFBPictureElement*>(&e); frame && frame->BorderWidth > 0)
            grow += frame->BorderWidth;
        return RectF(r.Left - grow, r.Top - grow, r.Right + grow, r.Bottom + grow);
    }

    // Renders the element together with what lies under it into a bitmap at the printer's
    // resolution divided by q and stretches it onto the sheet. The bitmap is cut to the paper.
    void Offscreen(TFBPage& page, TFBElement& element, bool picture) {
        TDrawContext& dc = *dc_;
        const TRectF box = ElementBox(element, picture);
        const TRect target = dc.Transformation.BoundingRect(box.Left, box.Top, box.Right, box.Bottom);
        const int q = ResolutionDivisor(dpiY_);

        TRect bits;
        TTransformation scaled;
        {
            TTransformationSaver saver(dc.Transformation);
            TTransformation reduce;
            reduce.Scale(1.0f / static_cast<float>(q));
            dc.Transformation.PremultiplyBy(reduce);
            const TRect r = dc.Transformation.BoundingRect(box.Left, box.Top, box.Right, box.Bottom);
            bits = TRect{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
            scaled.Assign(dc.Transformation);
        }
        const TRect paper = dc.DeviceClip();
        const TRect paperBits{0, 0, (paper.Right + q - 1) / q, (paper.Bottom + q - 1) / q};
        const TRect cut = IntersectRect(bits, paperBits);
        if (cut.IsEmpty())
            return;
        TRect onSheet{target.Left, target.Top, target.Right + 1, target.Bottom + 1};
        if (!(cut == bits))
            onSheet = IntersectRect(TRect{cut.Left * q, cut.Top * q, cut.Right * q, cut.Bottom * q}, paper);

        const double pixels = static_cast<double>(cut.Width()) * cut.Height();
        QImage bitmap;
        if (pixels <= kMaxBitmapPixels)
            bitmap = QImage(cut.Width(), cut.Height(), QImage::Format_ARGB32);
        if (bitmap.isNull())
            throw Exception(Translate(QStringLiteral("Nicht genug Speicher für das Druckbild.")));
        bitmap.fill(0xFFFFFFFFu);
        {
            TBitmapDrawContext bdc(bitmap);
            bdc.Transformation.Translate(static_cast<float>(-cut.Left), static_cast<float>(-cut.Top));
            bdc.Transformation.MultiplyBy(scaled);
            // The page colour lies under every rendered element, so that clipart and shadowed text
            // show no white box on a coloured page.
            if (page.Seitenfarbe != 0xFFFFFF) {
                bdc.SetPenStyle(psClear);
                bdc.Brush().SetColor(static_cast<TColor>(page.Seitenfarbe));
                bdc.Brush().SetStyle(bsSolid);
                bdc.Rectangle(0, 0, PW(), PH());
                bdc.SetPenStyle(psSolid);
            }
            for (TFBElement* e : page.Pictures) {
                if (auto* frame = dynamic_cast<TFBPictureElement*>(e))
                    DrawPictureElement(*frame, bdc, 0);
                if (e == &element)
                    break;
            }
            if (!picture) {
                for (TFBElement* e : page.Calendars)
                    if (auto* calendar = dynamic_cast<TFBKalenderElement*>(e))
                        DrawKalenderElement(*calendar, bdc);
                for (TFBElement* e : page.Sizeables) {
                    DrawElement(*e, bdc, 0);
                    if (e == &element)
                        break;
                }
            }
            bdc.ReleaseCanvas();
        }
        dc_->BlitBitmap(bitmap, onSheet.Left, onSheet.Top, onSheet.Right, onSheet.Bottom);
    }

    TFotobuchPrinter& o_;
    TFBDocument& doc_;

public:
    QString title_;

private:
    std::unique_ptr<TPrinterDrawContext> dc_;
    int dpiX_ = 300;
    int dpiY_ = 300;
    int sheets_ = 0;
    bool cancelled_ = false;
};

TFotobuchPrinter::TFotobuchPrinter(TFBDocument& document, TCurrentPrinter& printer, TPrintUi& ui)
    : document_(document), printer_(printer), ui_(ui) {}

TFotobuchPrinter::~TFotobuchPrinter() = default;

QString TFotobuchPrinter::SettingsKey() const {
    const QString name = PrintSettingName(document_.PrintSetting);
    return name.isEmpty() ? QString() : QStringLiteral("Druckeinstellung\\") + name;
}

float TFotobuchPrinter::ValidShift(double stored, float fallback) {
    if (!std::isfinite(stored) || std::fabs(stored) > kMaxShift)
        return fallback;
    return static_cast<float>(stored);
}

int TFotobuchPrinter::ResolutionDivisor(double dpi) {
    int q = 1;
    while (dpi / q > 365.0)
        ++q;
    return q;
}

QString TFotobuchPrinter::JobTitle(const QString& applicationTitle) {
    QString title = applicationTitle;
    for (const QChar c : {u'+', u'/', u'\\', u'&'})
        title.replace(c, u' ');
    title.remove(u'\'');
    title.remove(u'"');
    return title;
}

int TFotobuchPrinter::CountPages() const {
    return document_.LastUsedPage() + 1;
}

QString TFotobuchPrinter::GetPrinterHint() const {
    QStringList lines;
    lines << QStringLiteral("- ") + Translate(QStringLiteral("Papierformat")) + QStringLiteral(": ") +
                 document_.PaperNameDisplayName();
    if (!document_.PrintPaperType.isEmpty())
        lines << QStringLiteral("- ") + Translate(QStringLiteral("Papierart")) + QStringLiteral(": ") +
                     document_.PaperDisplayName();
    lines << QStringLiteral("- ") + (document_.PrintBorderless
                                         ? Translate(QStringLiteral("Randlosdruck"))
                                         : Translate(QStringLiteral("kein Randlosdruck")));
    lines.prepend(QString());
    lines.prepend(Translate(
        QStringLiteral("Bitte stellen Sie folgende Eigenschaften für den ausgewählten Drucker ein:")));
    return lines.join(u'\n');
}

void TFotobuchPrinter::LoadPrintSettings() {
    const QString key = SettingsKey();
    if (!UseSettingsStore || key.isEmpty())
        return;
    TVXRegIniFile& store = VXRegIniFile();
    const QString name = store.ReadString(key, kPrinterValue, QString());
    if (name.isEmpty() || !printer_.PrinterNames().contains(name))
        return;
    printer_.Select(name);
    const std::int32_t size = store.GetDataSize(key, kDeviceMode);
    if (size > 0 && size <= TDeviceMode::kMaxStoredSize) {
        const std::optional<TDeviceMode> mode = TDeviceMode::Deserialize(store.ReadBinary(key, kDeviceMode));
        // A damaged or foreign record leaves the driver defaults in force.
        if (mode)
            printer_.TakeDeviceMode(*mode);
    }
    if (document_.PrintBorderless)
        RandlosverschiebungY = ValidShift(
            store.ReadFloat(key + u'\\' + name, kShiftValue, std::numeric_limits<double>::quiet_NaN()),
            -1.2f);
    if (printer_.HasDeviceMode()) {
        printer_.DeviceMode().Copies = 1;
        printer_.DeviceMode().Fields |= TDeviceMode::fCopies;
    }
}

void TFotobuchPrinter::SavePrintSettings() {
    const QString key = SettingsKey();
    if (!UseSettingsStore || key.isEmpty())
        return;
    TVXRegIniFile& store = VXRegIniFile();
    const QString name = printer_.SelectedName();
    store.WriteString(key, kPrinterValue, name);
    store.WriteBinary(key, kDeviceMode, printer_.DeviceMode().Serialize());
    if (document_.PrintBorderless)
        store.WriteFloat(key + u'\\' + name, kShiftValue, RandlosverschiebungY);
}

TFotobuchPrinter::TOutcome TFotobuchPrinter::Print() {
    sheets_ = 0;
    failure_.clear();
    const int n = CountPages();
    if (n == 0) {
        ui_.Information(Translate(QStringLiteral("Es sind keine Elemente zum Drucken vorhanden.")));
        return TOutcome::NothingToPrint;
    }
    TPrinterSupport support;
    support.Install(&printer_);
    support.Warn = PrinterSupport().Warn;
    TFBDocument& doc = document_;

    if (PrintShop)
        support.SetPaperSizeMM(doc.PageWidth, doc.PageHeight);
    else if (doc.PrintPaperSize > 0)
        support.SetPaperNumber(doc.PrintPaperSize);
    else if (doc.PrintPaperWidth > 0 && doc.PrintPaperHeight > 0)
        support.SetPaperSizeMM(doc.PrintPaperWidth, doc.PrintPaperHeight);
    else if (doc.DocType == 0)
        support.SetPaperSizeMM(doc.PageWidth, doc.PageHeight);
    else if (doc.DocType == 1)
        support.SetPaperSizeMM(doc.PageHeight, 2 * doc.PageWidth);
    else
        support.SetPaperNumber(9);
    support.SetColorMode();

    // Coloured pages need borderless printing, or the paper's margins show white.
    if (!doc.PrintBorderless) {
        bool coloured = false;
        for (const TFBPage* p : doc.Pages)
            coloured = coloured || p->Seitenfarbe != 0xFFFFFF;
        if (coloured) {
            doc.PrintBorderless = true;
            if (doc.PrintSetting == 6)
                doc.PrintSetting = 5;
            else if (doc.PrintSetting == 9)
                doc.PrintSetting = 10;
        }
    }

    LoadPrintSettings();
    PageSelection.assign(static_cast<size_t>(doc.Pages.Count()), false);

    TPrintDialogRequest request;
    request.From = 1;
    request.To = n;
    request.Hint = GetPrinterHint();
    request.Shift = RandlosverschiebungY;
    request.SettingsKey = SettingsKey();
    request.ShowFoldButton = doc.PrintBorderless && doc.DocType != 0;
    request.Document = &doc;
    request.PageSelection = &PageSelection;
    const std::optional<TPrintDialogAnswer> answer = ui_.AskPrintDialog(request);
    if (!answer)
        return TOutcome::Cancelled;

    if (answer->RangeMode == 0) {
        FirstPage = 0;
        LastPage = n - 1;
        std::fill(PageSelection.begin(), PageSelection.end(), true);
    } else {
        FirstPage = std::clamp(answer->From - 1, 0, n - 1);
        LastPage = std::clamp(answer->To - 1, 0, n - 1);
        std::fill(PageSelection.begin(), PageSelection.end(), false);
        for (int i = FirstPage; i <= LastPage; ++i)
            PageSelection[static_cast<size_t>(i)] = true;
    }

    // A driver that copies gets the count; otherwise the job repeats the pages and the driver
    // must print each once, or it would print c x c.
    const int c = std::max(1, answer->Copies);
    if (support.MaxCopies() >= c) {
        support.SetCopies(c);
        Copies = 1;
    } else {
        support.SetCopies(1);
        Copies = c;
    }

    RandlosverschiebungY = ValidShift(answer->Shift, RandlosverschiebungY);
    try {
        SavePrintSettings();
    } catch (const Exception& e) {
        Debug().Trace(QStringLiteral("print settings not saved: ") + e.message());
    }
    return RunJob();
}

TFotobuchPrinter::TOutcome TFotobuchPrinter::RunJob() {
    TJob job(*this);
    job.title_ = JobTitle(ProgramInfo::ApplicationTitle());
    if (printer_.HasDeviceMode())
        printer_.DeviceMode().Orientation = 0;
    printer_.SetBorderlessJob(document_.PrintBorderless);
    ui_.ShowProgress(Translate(QStringLiteral("Drucken wird vorbereitet")));

    TOutcome outcome = TOutcome::Printed;
    try {
        if (document_.DocType == 2 && !PrintShop) {
            ui_.Information(QStringLiteral("Beidseitiges Drucken ist noch nicht implementiert"));
            outcome = TOutcome::NotImplemented;
        } else {
            job.Run();
        }
        if (job.WasCancelled()) {
            job.Finish(false);
            outcome = TOutcome::Cancelled;
        } else {
            job.Finish(true);
        }
    } catch (const Exception& e) {
        failure_ = e.message();
        try {
            job.Finish(false);
        } catch (const Exception&) {
        }
        outcome = TOutcome::Failed;
    }
    sheets_ = outcome == TOutcome::Printed ? job.Sheets() : 0;
    ui_.CloseProgress();
    if (outcome == TOutcome::Failed) {
        ui_.Error(failure_);
    } else if (outcome == TOutcome::Printed && job.Sheets() == 0) {
        failure_ = Translate(QStringLiteral("Es sind keine Elemente zum Drucken vorhanden."));
        ui_.Information(failure_);
        outcome = TOutcome::NothingToPrint;
    }
    return outcome;
}
