#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace velmora {

// The modal questions the windows ask and the open-file dialog, in one place, so that tests can
// answer them without a screen.
class ModalQuestions {
public:
    virtual ~ModalQuestions() = default;
    // OK and Cancel; true for OK.
    virtual bool ConfirmOkCancel(QWidget* owner, const QString& title, const QString& text) = 0;
    // Yes and No, no icon; true for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& title, const QString& text) = 0;
    // Shows one of the program's own dialogs modally; its result.
    virtual int RunDialog(QDialog& dialog) = 0;
    // A warning with OK only.
    virtual void ShowWarning(QWidget* owner, const QString& title, const QString& text) = 0;
    // Several existing files; none after Cancel. The filters show by name only. selectedFilter is the
    // filter to open on, and on OK the one the user left selected.
    virtual QStringList ChooseFilesToOpen(QWidget* owner, const QString& title, const QStringList& filters,
                                          QString& selectedFilter) = 0;
};

// Qt's own message boxes and file dialog (not the desktop's, so that skins reach them).
class DialogQuestions : public ModalQuestions {
public:
    bool ConfirmOkCancel(QWidget* owner, const QString& title, const QString& text) override;
    bool AskYesNo(QWidget* owner, const QString& title, const QString& text) override;
    int RunDialog(QDialog& dialog) override;
    void ShowWarning(QWidget* owner, const QString& title, const QString& text) override;
    QStringList ChooseFilesToOpen(QWidget* owner, const QString& title, const QStringList& filters,
                                  QString& selectedFilter) override;
};

} // namespace velmora
