#pragma once

#include "platform/qt/ModalQuestions.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <vector>

namespace velmora::test {

// Answers the windows' questions from prepared answers and writes down what was asked.
class RecordingQuestions : public ModalQuestions {
public:
    struct Asked {
        QString kind;
        QString title;
        QString text;
    };

    bool ConfirmOkCancel(QWidget*, const QString& title, const QString& text) override {
        asked.push_back({QStringLiteral("ok-cancel"), title, text});
        return NextAnswer();
    }
    bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
        asked.push_back({QStringLiteral("yes-no"), title, text});
        return NextAnswer();
    }
    int RunDialog(QDialog& dialog) override {
        asked.push_back({QStringLiteral("dialog"), dialog.windowTitle(), dialog.objectName()});
        if (dialogResults.empty())
            return QDialog::Rejected;
        const int result = dialogResults.front();
        dialogResults.pop_front();
        return result;
    }
    void ShowWarning(QWidget*, const QString& title, const QString& text) override {
        asked.push_back({QStringLiteral("warning"), title, text});
    }
    QStringList ChooseFilesToOpen(QWidget*, const QString& title, const QStringList& filters,
                                  QString& selectedFilter) override {
        asked.push_back({QStringLiteral("open"), title, selectedFilter});
        offeredFilters = filters;
        if (!filterToChoose.isEmpty())
            selectedFilter = filterToChoose;
        return filesToChoose;
    }

    std::vector<Asked> asked;
    std::deque<bool> answers;      // for the yes/no and OK/Cancel questions, in order; false when out
    std::deque<int> dialogResults; // for RunDialog, in order; Rejected when out
    QStringList filesToChoose;
    QString filterToChoose;
    QStringList offeredFilters;

private:
    bool NextAnswer() {
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace velmora::test
