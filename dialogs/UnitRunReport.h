#pragma once

#include "platform/qt/WindowPlacement.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velmora {

class LanguageFile;

// The end of a run that did not convert everything: how many files were converted, and each file
// that failed with the encoder's reason, in text a person can select and copy.
class TfrmRunReport : public QDialog {
    Q_OBJECT

public:
    // exec()'s result when the person asks to take the converted entries off the list.
    static constexpr int RemoveConverted = 2;

    explicit TfrmRunReport(QWidget* parent);

    // The summary line, one text per problem (it may span lines), and whether any entry was
    // converted, which the remove button needs.
    void SetReport(const QString& summary, const QStringList& problems, bool anyConverted);
    // The whole report as plain text, as Copy puts it on the clipboard.
    QString ReportText() const;

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    void buttonCopyClick();

    QLabel* labelSummary;
    QLabel* labelProblems;
    QPlainTextEdit* memoProblems;
    QPushButton* buttonCopy;
    QPushButton* buttonRemoveConverted;
    QPushButton* buttonClose;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    OpeningWatch opening_;
};

} // namespace velmora
