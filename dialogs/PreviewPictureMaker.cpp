#include "dialogs/PreviewPictureMaker.h"

#include <QFile>
#include <QProcess>

namespace velmora {

PreviewPictureMaker::PreviewPictureMaker(std::string encoderPath, QObject* parent)
    : QObject(parent), encoderPath_(std::move(encoderPath)) {}

PreviewPictureMaker::~PreviewPictureMaker() {
    Abandon();
}

void PreviewPictureMaker::Abandon() {
    QProcess* process = std::exchange(running_, nullptr);
    if (process == nullptr)
        return;
    process->disconnect(this);
    // Freed once it has ended, so that no killed encoder is left unreaped; the window never waits for it.
    process->setParent(nullptr);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}

void PreviewPictureMaker::Make(const PreviewChoice& choice, double seconds) {
    Abandon();
    if (!folder_.isValid()) {
        if (OnFailure)
            OnFailure(folder_.errorString());
        return;
    }
    const QString output = folder_.filePath(QStringLiteral("preview-%1.png").arg(++count_));
    const std::vector<std::string> words =
        BuildPreviewCommandLine(encoderPath_, choice.source, seconds, choice.videoSize, choice.cropBlackBars,
                                choice.trackWords, output.toStdString(), choice.probedCrop);
    QStringList arguments;
    for (size_t i = 1; i < words.size(); ++i)
        arguments << QString::fromStdString(words[i]);
    auto* process = new QProcess(this);
    running_ = process;
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this,
            [this, process, output](int code, QProcess::ExitStatus status) {
                Finished(process, output, status == QProcess::NormalExit && code == 0);
            });
    connect(process, &QProcess::errorOccurred, this, [this, process, output](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Finished(process, output, false);
    });
    process->start(QString::fromStdString(words[0]), arguments);
}

void PreviewPictureMaker::Finished(QProcess* process, const QString& output, bool succeeded) {
    if (process != running_)
        return;
    running_ = nullptr;
    process->deleteLater();
    const std::string said = process->readAllStandardOutput().toStdString();
    const std::string errorText = process->readAllStandardError().toStdString();
    const std::optional<PreviewFacts> facts = ReadPreviewFacts(said);
    const QImage picture(output);
    QFile::remove(output);
    if (succeeded && facts && !picture.isNull()) {
        if (OnPicture)
            OnPicture(picture, *facts);
        return;
    }
    QString reason = QString::fromStdString(PreviewFailureReason(errorText, ""));
    if (reason.isEmpty() && process->error() == QProcess::FailedToStart)
        reason = process->errorString();
    if (OnFailure)
        OnFailure(reason);
}

} // namespace velmora
