#pragma once

#include "engine/PreviewPicture.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <string>

class QProcess;

namespace velmora {

// Has the encoder make one preview picture at a time, without waiting for it: a new picture abandons
// the one still being made and kills its encoder.
class PreviewPictureMaker : public QObject {
public:
    explicit PreviewPictureMaker(std::string encoderPath, QObject* parent = nullptr);
    ~PreviewPictureMaker() override;

    void Make(const PreviewChoice& choice, double seconds);
    bool Busy() const { return running_ != nullptr; }

    std::function<void(const QImage& picture, const PreviewFacts& facts)> OnPicture;
    // The encoder's reason, or empty when it gave none.
    std::function<void(const QString& reason)> OnFailure;

private:
    void Abandon();
    void Finished(QProcess* process, const QString& output, bool succeeded);

    const std::string encoderPath_;
    QTemporaryDir folder_;
    QProcess* running_ = nullptr;
    int count_ = 0;
};

} // namespace velmora
