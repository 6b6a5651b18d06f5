#pragma once

#include <QObject>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

class QDialog;
class QEventLoop;
class QThread;

namespace trv {

// Runs a device dialog's step machine on a thread of its own, so that a read waiting for the
// device never holds up the windows. Each device dialog has its own worker: the Device Status
// dialog's step waits for the Download dialog it opens for a resume, whose steps must go on.
//
// An opening of the dialog is numbered. Everything the step machine hands to the window carries
// the number of the opening it belongs to, and the window drops it once that opening has ended,
// so a late reply never reaches a closed or reopened dialog. User actions carry the number too and
// are dropped on the worker once the step machine has ended that opening itself.
//
// Handover: the step machine, its timer, the link and the values it shares with the windows
// (session, control program, catalogue, texts) belong to the worker from the moment an opening is
// posted to it until that opening has ended on the window thread: by the step machine's finish(),
// or by closeByUser() once the worker has answered. The window thread touches them outside that
// span only, or while the worker waits in ask() for an answer. Each handover is a queued call or
// the ask's lock, both of which order the memory of the two threads.
class DeviceWorker : public QObject {
    Q_OBJECT
public:
    using Call = std::function<void()>;
    // The link gives up a read after 1000 ms, so a step ends well within this.
    static constexpr int SettleBoundMs = 5000;

    explicit DeviceWorker(const QString& name, QObject* parent = nullptr);
    ~DeviceWorker() override;

    // --- window thread ---
    // Hands an object (the step machine's timer) to the worker thread; before the first opening.
    void adopt(QObject& object);
    // Starts an opening; activate runs on the worker.
    void open(Call activate);
    bool isOpen() const { return windowOpening_ != 0; }
    // A user action of the current opening, run on the worker after the step under way.
    void act(Call action);
    // The user ended the opening (the window is already hidden): close runs on the worker after
    // the step under way. Returns once it has run; meanwhile the window thread goes on with
    // everything but user input, which waits until the worker has let go of the shared values.
    void closeByUser(Call close);
    // The user closes the dialog: it goes from the screen with result at once, and close (the
    // step machine's own closing) follows on the worker when an opening is under way.
    void closeDialog(QDialog& dialog, int result, Call close);
    // Ends the thread; a step under way ends within the link's read time-out.
    void stop();
    // Whether some worker holds the link and the shared values (see Handover above).
    static bool deviceInUse() { return holders_ > 0; }

    // --- worker thread ---
    // Runs update on the window thread, unless its opening has ended by then.
    void toWindow(Call update);
    // Runs question on the window thread and waits for it to return. false when it did not run
    // because the opening had ended (or the worker is stopping).
    bool ask(Call question);
    // The step machine ends the opening: close runs on the window thread.
    void finish(Call close);

private:
    // Queues call to the thread of context (this: the window thread; workerSide_: the worker).
    void post(QObject* context, Call call);
    static std::mutex& handover();
    void settled(int opening);
    void hold(bool holding);

    QThread* thread_ = nullptr;
    QObject* workerSide_ = nullptr; // lives on the worker thread: the context of posted calls
    std::vector<QObject*> adopted_;
    int openings_ = 0;      // window thread
    int windowOpening_ = 0; // window thread: the opening on display, 0 none
    int workerOpening_ = 0; // worker thread: the opening the step machine runs, 0 none
    QEventLoop* settleLoop_ = nullptr;
    bool holding_ = false;          // window thread
    static inline int holders_ = 0; // window thread

    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    int settledOpening_ = 0;
    int askSerial_ = 0;
    int answeredSerial_ = 0;
    bool answerRan_ = false;
};

} // namespace trv
