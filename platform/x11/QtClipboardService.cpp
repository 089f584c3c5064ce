#include "platform/x11/QtClipboardService.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <future>
#include <memory>
#include <thread>

namespace {

QByteArray toByteArray(const VectorSink& sink)
{
    return QByteArray(reinterpret_cast<const char*>(sink.bytes.data()), static_cast<qsizetype>(sink.bytes.size()));
}

// Runs `encode` on a thread of its own. The future does not wait for the thread when it is
// dropped, so replacing the clipboard while a capture is still being encoded never blocks;
// `running` counts the thread until it ends.
template <typename Encode>
std::shared_future<QByteArray> encodeDetached(Encode encode, const std::shared_ptr<RunningEncodings>& running)
{
    std::packaged_task<QByteArray()> task(std::move(encode));
    std::shared_future<QByteArray> result = task.get_future().share();
    running->started();
    std::thread([task = std::move(task), running]() mutable {
        task();
        running->ended();
    }).detach();
    return result;
}

// The encodings of one capture. Formats are listed at once; the bytes are waited for only
// when a program asks for them.
class EncodedImageMimeData : public QMimeData {
public:
    EncodedImageMimeData(const Bitmap& bitmap, const ClipboardEncoders& encoders,
                         const std::shared_ptr<RunningEncodings>& running)
    {
        auto shared = std::make_shared<const Bitmap>(bitmap);
        const auto encodeWith = [&](const ClipboardEncoder& encode) {
            return encodeDetached(
                [shared, encode] {
                    VectorSink sink;
                    encode(*shared, sink);
                    return toByteArray(sink);
                },
                running);
        };
        bmp_ = encodeWith(encoders.bmp);
        png_ = encodeWith(encoders.png);
    }

    QStringList formats() const override { return {QStringLiteral("image/png"), QStringLiteral("image/bmp")}; }
    bool hasFormat(const QString& mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override
    {
        if (mimeType == QLatin1String("image/png")) {
            return png_.get();
        }
        if (mimeType == QLatin1String("image/bmp")) {
            return bmp_.get();
        }
        return {};
    }

private:
    std::shared_future<QByteArray> bmp_;
    std::shared_future<QByteArray> png_;
};

} // namespace

void RunningEncodings::started()
{
    const std::lock_guard lock(mutex_);
    ++running_;
}

void RunningEncodings::ended()
{
    const std::lock_guard lock(mutex_);
    if (--running_ == 0) {
        allEnded_.notify_all();
    }
}

void RunningEncodings::waitUntilNoneRun()
{
    std::unique_lock lock(mutex_);
    allEnded_.wait(lock, [this] { return running_ == 0; });
}

QtClipboardService::QtClipboardService(ClipboardEncoders encoders) : encoders_(std::move(encoders))
{
}

QtClipboardService::~QtClipboardService()
{
    running_->waitUntilNoneRun();
}

void QtClipboardService::setBitmap(const Bitmap& bitmap)
{
    QGuiApplication::clipboard()->setMimeData(new EncodedImageMimeData(bitmap, encoders_, running_));
}
