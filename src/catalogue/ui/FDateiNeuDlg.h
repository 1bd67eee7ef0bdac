#pragma once

#include <QDialog>

class TFBDocument;

// The new-project wizard. Execute shows it modally for the document and returns
// ResultCreated (a product was created in the document), ResultOpenProject (the user asked to
// open an existing project; the document is unchanged) or ResultCancelled.
// Until the wizard's steps exist, Execute returns ResultCancelled without showing anything.
class TDateiNeuDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultCreated = 1;
    static constexpr int ResultCancelled = 2;
    static constexpr int ResultOpenProject = 100;

    explicit TDateiNeuDlg(QWidget* owner);

    int Execute(TFBDocument& document);
};
