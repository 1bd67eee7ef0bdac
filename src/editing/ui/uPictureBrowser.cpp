#include "editing/ui/uPictureBrowser.h"

#include "platform/uVXRegIniFile.h"

TPictureBrowser::TPictureBrowser(const QString& objectName, const QString& settingsName, QWidget* parent)
    : QWidget(parent), settingsName_(settingsName) {
    setObjectName(objectName);
    folder_ = VXRegIniFile().ReadString(QString(), settingsName_, QString());
}

void TPictureBrowser::SaveFolder() const {
    if (!folder_.isEmpty())
        VXRegIniFile().WriteString(QString(), settingsName_, folder_);
}
