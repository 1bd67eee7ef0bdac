#include "calendar/ui/FKalenderPropDlg.h"

#include "calendar/ui/FDlgFeiertagGeburtstag.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "i18n/ulocalize.h"
#include "platform/uGuarded.h"
#include "widgets/ui/uColorPopupButton.h"
#include "widgets/ui/uFloatEdit.h"
#include "widgets/ui/uFontComboBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstring>

namespace {

// The German words that label each colour button.
const char* colorLabel(const char* name) {
    static const std::pair<const char*, const char*> labels[] = {
        {"cbColor", "Hintergrund"},       {"cbColorZeilen", "Zeilen"},          {"cbColorZellen", "Zellen"},
        {"cbColorSamstag", "Samstag"},    {"cbColorSonntag", "Sonntag"},        {"cbColorZeileWT", "Zeile"},
        {"cbColorZelleWT", "Zelle"},      {"cbColorZeileMJ", "Zeile"},          {"cbColorZeileFG", "Zeile"},
        {"cbColorFeiertag", "Feiertage"}, {"cbColorGeburtstag", "Geburtstage"},
    };
    for (const auto& [button, label] : labels)
        if (std::strcmp(button, name) == 0)
            return label;
    return "";
}

bool isFontColor(const TKalenderFarbFeld& field) {
    return QByteArray(field.Key).endsWith(".Color");
}

// The glyph of an alignment button: three lines placed left, centred or right, or a block at
// the top, in the middle or at the bottom of a frame.
QPixmap alignGlyph(int which) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    if (which < 3) {
        const int widths[] = {12, 8, 10, 6};
        for (int i = 0; i < 4; ++i) {
            const int w = widths[i];
            const int x = which == 0 ? 2 : which == 1 ? (16 - w) / 2 : 14 - w;
            p.drawLine(x, 3 + 3 * i, x + w - 1, 3 + 3 * i);
        }
    } else {
        p.drawRect(1, 1, 13, 13);
        const int y = which == 3 ? 3 : which == 4 ? 6 : 9;
        p.fillRect(4, y, 8, 4, Qt::black);
    }
    return pixmap;
}

QToolButton* toolButton(QWidget* parent, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setIconSize(QSize(16, 16));
    return button;
}

QLabel* percent(QWidget* parent) {
    return new QLabel(QStringLiteral("%"), parent);
}

QLabel* label(QWidget* parent, const QString& name, const char* german) {
    auto* made = new QLabel(QString::fromUtf8(german), parent);
    made->setObjectName(name);
    return made;
}

// The stem of the four edits of a padding ("edRowSpacing" + side), which names its caption too.
QString paddingStem(const char* group, const char* label) {
    const bool rows = std::strcmp(group, "Zeilenabstände") == 0;
    const bool outer = std::strcmp(label, "Außenabstand") == 0;
    return QString::fromLatin1(rows ? "Row" : "Cell") + QString::fromLatin1(outer ? "Spacing" : "Padding");
}

} // namespace

TKalenderPropDlg::TKalenderPropDlg(QWidget* owner, TFBKalenderElement& calendar)
    : TLocalizerDialog(owner), calendar_(calendar) {
    setObjectName(QStringLiteral("KalenderPropDlg"));
    setWindowTitle(QStringLiteral("Kalendereigenschaften"));

    Zahlen.resize(KalenderZahlFelder().size(), nullptr);
    Farben.resize(KalenderFarbFelder().size(), nullptr);
    Schalter.resize(KalenderSchalterFelder().size(), nullptr);

    pcKalender = new QTabWidget(this);
    pcKalender->setObjectName(QStringLiteral("pcKalender"));
    const std::pair<const char*, const char*> tabs[] = {
        {"tsKalender", "Kalender"},
        {"tsWochentage", "Wochentage"},
        {"tsMonatJahr", "Monat und Jahr"},
        {"tsFeiertage", "Feiertage und Geburtstage"},
    };
    for (int i = 0; i < 4; ++i) {
        QWidget* page = BuildTab(TKalenderTab(i));
        page->setObjectName(QString::fromLatin1(tabs[i].first));
        pcKalender->addTab(page, QString::fromUtf8(tabs[i].second));
    }
    // The special days are set up in the holidays dialog of the calendar panel; their tab stays
    // hidden like in the form the dialog was made from.
    pcKalender->setTabVisible(int(TKalenderTab::Feiertage), false);
    pcKalender->setCurrentIndex(0);

    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnUebernehmen = new QPushButton(QStringLiteral("Übernehmen"), this);
    BtnUebernehmen->setObjectName(QStringLiteral("BtnUebernehmen"));
    BtnOKFuerAlle = new QPushButton(QStringLiteral("OK für alle"), this);
    BtnOKFuerAlle->setObjectName(QStringLiteral("BtnOKFuerAlle"));
    BtnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    BtnAbbrechen->setObjectName(QStringLiteral("BtnAbbrechen"));
    for (QPushButton* button : {BtnUebernehmen, BtnOKFuerAlle, BtnAbbrechen})
        button->setAutoDefault(false);

    connect(BtnOK, &QPushButton::clicked, this, [this] {
        if (Apply(TKalenderApply::One))
            accept();
    });
    connect(BtnUebernehmen, &QPushButton::clicked, this, [this] {
        abortOnCancel_ = true;
        Apply(TKalenderApply::One);
    });
    connect(BtnOKFuerAlle, &QPushButton::clicked, this, [this] {
        if (Apply(TKalenderApply::All))
            accept();
    });
    connect(BtnAbbrechen, &QPushButton::clicked, this, &TKalenderPropDlg::reject);
    connect(BtnFeiertageGeburtstage, &QPushButton::clicked, this, [this] {
        if (OpenFeiertage)
            OpenFeiertage(this, calendar_);
        Multicaster().NotifyElementChanged(this, &calendar_);
    });
    OpenFeiertage = [](QWidget* parent, TFBKalenderElement& element) {
        if (TFBDocument* document = element.Document()) {
            TDlgFeiertagGeburtstag dialog(parent, *document, element.Data->Jahr, element.Data->Monat);
            dialog.exec();
        }
    };

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnUebernehmen);
    buttons->addWidget(BtnOKFuerAlle);
    buttons->addWidget(BtnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcKalender);
    layout->addLayout(buttons);

    Show(TKalenderPropWerte::Show(*calendar_.Data, KalenderZahlLocale()));
    Localize();
}

void TKalenderPropDlg::AfterTranslate() {
    // The style buttons show the initials of the language's words.
    for (TSchriftControls& s : Schriften) {
        s.Fett->setIcon(QPixmap::fromImage(Localizer().Glyph(TGlyph::Bold)));
        s.Kursiv->setIcon(QPixmap::fromImage(Localizer().Glyph(TGlyph::Italic)));
        s.Underline->setIcon(QPixmap::fromImage(Localizer().Glyph(TGlyph::Underline)));
    }
    // A side of a padding is named as the error messages name it.
    const auto& numbers = KalenderZahlFelder();
    for (size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i].Side)
            Zahlen[i]->setToolTip(Translate(QString::fromUtf8(numbers[i].Label)) + u' ' +
                                  Translate(QString::fromUtf8(numbers[i].Side)));
}

QWidget* TKalenderPropDlg::BuildTab(TKalenderTab tab) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);

    // The tab's switches and the size of its band come first; the grid is
    // owned by the column even on a tab that has neither.
    auto* top = new QGridLayout;
    column->addLayout(top);
    int row = 0;
    const auto& flags = KalenderSchalterFelder();
    for (size_t i = 0; i < flags.size(); ++i) {
        if (flags[i].Tab != tab)
            continue;
        auto* box = new QCheckBox(QString::fromUtf8(flags[i].Caption), page);
        box->setObjectName(QString::fromLatin1(flags[i].Name));
        Schalter[i] = box;
        top->addWidget(box, row++, 0, 1, 3);
    }
    const auto& numbers = KalenderZahlFelder();
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i].Tab != tab || numbers[i].Group ||
            std::strcmp(numbers[i].Label, "Größe des Bereichs") != 0)
            continue;
        auto* edit = new TFloatEdit(page);
        edit->setObjectName(QString::fromLatin1(numbers[i].Name));
        Zahlen[i] = edit;
        QLabel* caption = label(page, QStringLiteral("lbl") + edit->objectName().mid(2), numbers[i].Label);
        caption->setBuddy(edit);
        top->addWidget(caption, row, 0);
        top->addWidget(edit, row, 1);
        top->addWidget(percent(page), row++, 2);
    }
    if (row > 0)
        top->setColumnStretch(3, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildSchrift(tab), 3);
    middle->addWidget(BuildFarben(tab), 2);
    column->addLayout(middle);
    column->addWidget(BuildAbstaende(tab, "Zeilenabstände"));
    if (tab == TKalenderTab::Kalender || tab == TKalenderTab::Wochentage)
        column->addWidget(BuildAbstaende(tab, "Zellenabstände"));
    if (tab == TKalenderTab::Feiertage) {
        BtnFeiertageGeburtstage = new QPushButton(QStringLiteral("Feiertage und Geburtstage..."), page);
        BtnFeiertageGeburtstage->setObjectName(QStringLiteral("BtnFeiertageGeburtstage"));
        BtnFeiertageGeburtstage->setAutoDefault(false);
        column->addWidget(BtnFeiertageGeburtstage, 0, Qt::AlignLeft);
    }
    column->addStretch();

    // The colour buttons name their choices themselves.
    for (TColorPopupButton* button : Farben)
        if (button)
            LocalizerForms::KeepUntranslated(button);
    // The number fields take the whole range a setting may hold; their texts are the values.
    for (TFloatEdit* edit : Zahlen)
        if (edit) {
            edit->SetRange(kKalenderZahlMin, kKalenderZahlMax);
            edit->SetKeepsInvalidText(true);
            edit->setMaximumWidth(64);
            LocalizerForms::KeepUntranslated(edit);
        }
    return page;
}

QWidget* TKalenderPropDlg::BuildSchrift(TKalenderTab tab) {
    const auto& fonts = KalenderSchriftFelder();
    const int index = int(tab);
    const QString suffix = QString::fromLatin1(fonts[index].Suffix);
    auto* group = new QGroupBox(QStringLiteral("Schriftart"));
    group->setObjectName(QStringLiteral("gbSchriftart") + suffix);
    auto* grid = new QGridLayout(group);

    TSchriftControls& s = Schriften[index];
    s.Name = new TFontComboBox(group);
    s.Name->setObjectName(QStringLiteral("cbFontName") + suffix);
    s.Name->setMinimumWidth(150);

    auto* line = new QHBoxLayout;
    line->setSpacing(2);
    line->addWidget(s.Name, 1);
    // The font's own colour sits beside its name (the special-days band has its colours per list).
    const auto& colors = KalenderFarbFelder();
    for (size_t i = 0; i < colors.size(); ++i)
        if (colors[i].Tab == tab && isFontColor(colors[i])) {
            auto* button = new TColorPopupButton(group);
            button->setObjectName(QString::fromLatin1(colors[i].Name));
            button->SetOffersNoColor(false);
            Farben[i] = button;
            line->addWidget(button);
        }
    s.Fett = toolButton(group, QStringLiteral("tbBtnFett") + suffix);
    s.Kursiv = toolButton(group, QStringLiteral("tbBtnKursiv") + suffix);
    s.Underline = toolButton(group, QStringLiteral("tbBtnUnderline") + suffix);
    const std::pair<QToolButton*, const char*> styles[] = {
        {s.Fett, "Fett"}, {s.Kursiv, "Kursiv"}, {s.Underline, "Unterstrichen"}};
    for (const auto& [button, hint] : styles) {
        button->setToolTip(QString::fromUtf8(hint));
        line->addWidget(button);
    }
    grid->addLayout(line, 0, 0, 1, 3);

    QLabel* alignLabel = label(group, QStringLiteral("lblAusrichtung") + suffix, "Ausrichtung in Zelle");
    const std::pair<const char*, const char*> aligns[] = {
        {"tbBtnLeft", "linksbündig"},           {"tbBtnCenter", "zentriert"},
        {"tbBtnRight", "rechtsbündig"},         {"tbBtnVTop", "vertikal oben"},
        {"tbBtnVCenter", "vertikal zentriert"}, {"tbBtnVBottom", "vertikal unten"}};
    auto* alignLine = new QHBoxLayout;
    alignLine->setSpacing(2);
    auto* horizontal = new QButtonGroup(group);
    auto* vertical = new QButtonGroup(group);
    for (int i = 0; i < 6; ++i) {
        QToolButton* button = toolButton(group, QString::fromLatin1(aligns[i].first) + suffix);
        button->setIcon(alignGlyph(i));
        button->setToolTip(QString::fromUtf8(aligns[i].second));
        (i < 3 ? horizontal : vertical)->addButton(button, i % 3);
        s.Ausrichtung[size_t(i)] = button;
        if (i == 3)
            alignLine->addSpacing(8);
        alignLine->addWidget(button);
    }
    alignLine->addStretch();
    grid->addWidget(alignLabel, 1, 0);
    grid->addLayout(alignLine, 1, 1, 1, 2);

    const auto& numbers = KalenderZahlFelder();
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i].Tab != tab || std::strcmp(numbers[i].Label, "Fonthöhe in Zelle") != 0)
            continue;
        auto* edit = new TFloatEdit(group);
        edit->setObjectName(QString::fromLatin1(numbers[i].Name));
        QLabel* caption = label(group, QStringLiteral("lbl") + edit->objectName().mid(2), numbers[i].Label);
        caption->setBuddy(edit);
        Zahlen[i] = edit;
        auto* heightLine = new QHBoxLayout;
        heightLine->addWidget(edit);
        heightLine->addWidget(percent(group));
        heightLine->addStretch();
        grid->addWidget(caption, 2, 0);
        grid->addLayout(heightLine, 2, 1, 1, 2);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
    return group;
}

QWidget* TKalenderPropDlg::BuildFarben(TKalenderTab tab) {
    auto* group = new QGroupBox(QStringLiteral("Farben"));
    group->setObjectName(QStringLiteral("gbFarben") +
                         QString::fromLatin1(KalenderSchriftFelder()[int(tab)].Suffix));
    auto* grid = new QGridLayout(group);
    int row = 0;
    const auto& colors = KalenderFarbFelder();
    for (size_t i = 0; i < colors.size(); ++i) {
        if (colors[i].Tab != tab || isFontColor(colors[i]))
            continue;
        auto* button = new TColorPopupButton(group);
        button->setObjectName(QString::fromLatin1(colors[i].Name));
        button->SetOffersNoColor(colors[i].OffersNoColor, NoColor);
        Farben[i] = button;
        QLabel* caption =
            label(group, QStringLiteral("lbl") + button->objectName().mid(2), colorLabel(colors[i].Name));
        caption->setBuddy(button);
        grid->addWidget(caption, row, 0);
        grid->addWidget(button, row++, 1);
    }
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(row, 1);
    return group;
}

QWidget* TKalenderPropDlg::BuildAbstaende(TKalenderTab tab, const char* groupName) {
    const QString suffix = QString::fromLatin1(KalenderSchriftFelder()[int(tab)].Suffix);
    auto* group = new QGroupBox(QString::fromUtf8(groupName));
    group->setObjectName((std::strcmp(groupName, "Zeilenabstände") == 0 ? QStringLiteral("gbZeilen")
                                                                        : QStringLiteral("gbZellen")) +
                         suffix);
    auto* grid = new QGridLayout(group);
    // The four sides of a padding follow each other in the table: one line per padding.
    const auto& numbers = KalenderZahlFelder();
    int row = -1;
    const char* kind = nullptr;
    int sideColumn = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i].Tab != tab || !numbers[i].Group || std::strcmp(numbers[i].Group, groupName) != 0)
            continue;
        if (numbers[i].Label != kind) {
            kind = numbers[i].Label;
            ++row;
            sideColumn = 1;
            const QByteArray german = QByteArray(kind) + " links, oben, rechts, unten";
            grid->addWidget(label(group, QStringLiteral("lbl") + paddingStem(groupName, kind) + suffix,
                                  german.constData()),
                            row, 0);
            grid->addWidget(percent(group), row, 5);
        }
        auto* edit = new TFloatEdit(group);
        edit->setObjectName(QString::fromLatin1(numbers[i].Name));
        Zahlen[i] = edit;
        grid->addWidget(edit, row, sideColumn++);
    }
    grid->setColumnStretch(0, 1);
    return group;
}

TKalenderPropWerte TKalenderPropDlg::Werte() const {
    // Starting from the calendar keeps what no control shows (the special-days font's colour).
    TKalenderPropWerte werte = TKalenderPropWerte::Show(*calendar_.Data, KalenderZahlLocale());
    for (size_t i = 0; i < Zahlen.size(); ++i)
        werte.Zahlen[qsizetype(i)] = Zahlen[i]->text();
    for (size_t i = 0; i < Farben.size(); ++i)
        werte.Farben[i] = Farben[i]->Color();
    for (size_t i = 0; i < Schalter.size(); ++i)
        werte.Schalter[i] = Schalter[i]->isChecked();
    for (size_t i = 0; i < Schriften.size(); ++i) {
        const TSchriftControls& c = Schriften[i];
        TKalenderSchrift& s = werte.Schriften[i];
        s.Name = c.Name->FontName();
        s.Bold = c.Fett->isChecked();
        s.Italic = c.Kursiv->isChecked();
        s.Underline = c.Underline->isChecked();
        for (int h = 0; h < 3; ++h)
            if (c.Ausrichtung[size_t(h)]->isChecked())
                s.Ausrichtung.Horizontal = h;
        for (int v = 0; v < 3; ++v)
            if (c.Ausrichtung[size_t(3 + v)]->isChecked())
                s.Ausrichtung.Vertical = v;
    }
    return werte;
}

void TKalenderPropDlg::Show(const TKalenderPropWerte& werte) {
    const QLocale locale = KalenderZahlLocale();
    for (size_t i = 0; i < Zahlen.size(); ++i) {
        // The value of the shown digits (0.1, not the float nearest to it) is what a field
        // written anew after a language switch shows.
        bool ok = false;
        const double value = locale.toDouble(werte.Zahlen[qsizetype(i)], &ok);
        if (ok)
            Zahlen[i]->SetValue(value);
        // The shortest text that reads back as the stored value, not all digits of a float.
        Zahlen[i]->setText(werte.Zahlen[qsizetype(i)]);
    }
    for (size_t i = 0; i < Farben.size(); ++i)
        Farben[i]->SetColor(werte.Farben[i]);
    for (size_t i = 0; i < Schalter.size(); ++i)
        Schalter[i]->setChecked(werte.Schalter[i]);
    for (size_t i = 0; i < Schriften.size(); ++i) {
        const TSchriftControls& c = Schriften[i];
        const TKalenderSchrift& s = werte.Schriften[i];
        c.Name->SetFontName(s.Name);
        c.Fett->setChecked(s.Bold);
        c.Kursiv->setChecked(s.Italic);
        c.Underline->setChecked(s.Underline);
        c.Ausrichtung[size_t(s.Ausrichtung.Horizontal)]->setChecked(true);
        c.Ausrichtung[size_t(3 + s.Ausrichtung.Vertical)]->setChecked(true);
    }
}

bool TKalenderPropDlg::Apply(TKalenderApply scope) {
    const TKalenderPropWerte werte = Werte();
    const bool applied = Guarded("TKalenderPropDlg.Apply", [&] {
        ApplyKalenderEigenschaften(calendar_, werte, scope, KalenderZahlLocale());
    });
    if (!applied) {
        FocusBadNumber();
        return false;
    }
    Announce(scope);
    return true;
}

void TKalenderPropDlg::Announce(TKalenderApply scope) {
    Multicaster().NotifyElementChanged(this, &calendar_);
    TFBDocument* document = calendar_.Document();
    if (scope != TKalenderApply::All || !document)
        return;
    // Every other page with a calendar changed too.
    for (TFBPage* page : document->Pages)
        if (page != calendar_.Page && page->Calendars.Count() > 0)
            Multicaster().NotifyPageChanged(this, page);
}

void TKalenderPropDlg::FocusBadNumber() {
    const QLocale locale = KalenderZahlLocale();
    for (size_t i = 0; i < Zahlen.size(); ++i) {
        bool ok = false;
        ParseKalenderZahl(Zahlen[i]->text(), locale, ok);
        if (ok)
            continue;
        for (int t = 0; t < pcKalender->count(); ++t)
            if (pcKalender->widget(t)->isAncestorOf(Zahlen[i]))
                pcKalender->setCurrentIndex(t);
        Zahlen[i]->setFocus(Qt::OtherFocusReason);
        Zahlen[i]->selectAll();
        return;
    }
}

void TKalenderPropDlg::reject() {
    // After "Übernehmen" the calendar did change: the caller learns it from the result.
    if (abortOnCancel_)
        done(ResultAbort);
    else
        QDialog::reject();
}
