#pragma once

#include "app/ui/uMasterPrompts.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

// Answers the main window's questions from a script and records what was asked.
class ScriptedPrompts : public TMasterPrompts {
public:
    std::deque<TAnswer> answers;
    std::deque<QString> saveNames; // empty string: the user cancels the dialog
    std::deque<QString> openNames;
    std::deque<TRecoveryAnswer> recoveryAnswers;             // none left: "Später"
    std::vector<std::vector<TRecoveryEntry>> recoveryOffers; // what each offer showed
    QStringList questions;
    QStringList errors;
    int saveDialogs = 0;
    int openDialogs = 0;
    int beeps = 0;
    int printerSetups = 0;
    int prints = 0;
    int pdfExports = 0;
    int abouts = 0;

    TAnswer AskYesNoCancel(QWidget*, const QString& text) override {
        questions << text;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return TAnswer::Cancel;
        }
        const TAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Yes/No questions take the next answer too (Yes is yes, anything else no).
    bool AskYesNo(QWidget* parent, const QString& text) override {
        return AskYesNoCancel(parent, text) == TAnswer::Yes;
    }
    QString OpenProjectFileName(QWidget*) override {
        ++openDialogs;
        return take(openNames);
    }
    QString SaveProjectFileName(QWidget*, const QString&) override {
        ++saveDialogs;
        return take(saveNames);
    }
    void ShowError(QWidget*, const QString& message) override { errors << message; }
    void Print(QWidget*, TFBDocument&) override { ++prints; }
    void SaveAsPdf(QWidget*, TFBDocument&) override { ++pdfExports; }
    void ShowPrinterSetup(QWidget*) override { ++printerSetups; }
    void ShowAbout(QWidget*) override { ++abouts; }
    void Beep() override { ++beeps; }
    TRecoveryAnswer AskRecovery(QWidget*, const std::vector<TRecoveryEntry>& copies) override {
        recoveryOffers.push_back(copies);
        if (recoveryAnswers.empty())
            return {};
        const TRecoveryAnswer answer = recoveryAnswers.front();
        recoveryAnswers.pop_front();
        return answer;
    }

private:
    static QString take(std::deque<QString>& names) {
        if (names.empty())
            return {};
        QString name = names.front();
        names.pop_front();
        return name;
    }
};
