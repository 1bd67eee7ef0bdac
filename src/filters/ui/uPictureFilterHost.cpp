#include "filters/ui/uPictureFilterHost.h"

#include "document/uFotobuchBildManager.h"
#include "filters/uPictureFilter.h"
#include "filters/ui/FDlgFilter.h"
#include "filters/ui/FDlgRoteAugen.h"

#include <QApplication>

#include <memory>

namespace {

// Colour filters see the unturned picture and show it turned in their previews; the red-eye
// dialog works on the picture as it lies on the page, which is turned back afterwards.
class TDialogFilterHost : public TPictureFilterHost {
public:
    std::optional<QImage> RunFilter(TPictureFilterKind kind, const QImage& picture, int angle) override {
        QWidget* parent = QApplication::activeWindow();
        if (kind == TPictureFilterKind::RedEye) {
            const int turn = FilterDialogMath::QuarterTurn(angle);
            TDlgRoteAugen dialog(parent);
            dialog.SetPicture(FilterDialogMath::Turned(picture, turn));
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return FilterDialogMath::Turned(dialog.Picture(), -turn);
        }
        std::unique_ptr<TDlgFilterBase> dialog;
        switch (kind) {
        case TPictureFilterKind::HKIG:
            dialog = std::make_unique<TDlgFilterHKIG>(parent);
            break;
        case TPictureFilterKind::HSL:
            dialog = std::make_unique<TDlgFilterHSL>(parent);
            break;
        default:
            dialog = std::make_unique<TDlgFilterSWCol>(parent);
            break;
        }
        dialog->SetPicture(picture, angle);
        if (dialog->exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog->Picture();
    }
};

} // namespace

void InstallPictureFilterHost() {
    static TDialogFilterHost host;
    TBildmanager::Instance().SetFilterHost(&host);
}
