#pragma once

#include <QObject>

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

class QDialog;
class QEventLoop;
class QThread;
class QWidget;

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
// The link has one user at a time. A worker reserves it from the start of an opening until the
// worker has left the step under way after the opening ended, however long that step takes (a
// read's second, a write the kernel holds for five): a dialog closed by the user goes from the
// screen at once, but the link, the session and the control program stay the worker's until then.
// Meanwhile user input to the windows is turned away (they keep painting), and whatever else needs
// the link waits for it with whenDeviceFree(). No time bound hands over a link still in use.
//
// Handover: the step machine, its timer, the link and the values it shares with the windows
// (session, control program, catalogue, texts) belong to the worker while it holds the link. The
// window thread touches them outside that span only, or while the worker waits in ask() for an
// answer, which lends the link to the window thread until the answer goes back. Each handover is a
// queued call or the ask's lock, both of which order the memory of the two threads.
class DeviceWorker : public QObject {
    Q_OBJECT
public:
    using Call = std::function<void()>;

    explicit DeviceWorker(const QString& name, QObject* parent = nullptr);
    ~DeviceWorker() override;

    // --- window thread ---
    // Hands an object (the step machine's timer) to the worker thread; before the first opening.
    void adopt(QObject& object);
    // Starts an opening once the link is free; activate runs on the worker. abandon is the step
    // machine's own closing, run on the worker when a step fails with an exception.
    void open(Call activate, Call abandon);
    bool isOpen() const { return windowOpening_ != 0; }
    // A user action of the current opening, run on the worker after the step under way.
    void act(Call action);
    // The user closes the dialog: it goes from the screen with result at once, and close (the step
    // machine's own closing) follows on the worker after the step under way.
    void closeDialog(QDialog& dialog, int result, Call close);
    // Returns once the worker has left the link, the window thread answering meanwhile. The dialogs'
    // exec() ends with it, so what follows an exec() finds the link and the session free.
    void waitUntilReleased();
    // Ends the thread after the step under way and the worker's own clean-up.
    void stop();

    // Whether some worker holds the link and the shared values.
    static bool deviceInUse();
    // Runs call on the window thread now if the link is free, else as soon as it is (unless
    // context has gone by then).
    static void whenDeviceFree(QObject* context, Call call);
    // Input to widget (and its children) still reaches it while a closed dialog's step ends.
    static void allowWhileBusy(QWidget& widget);

    // --- worker thread ---
    // Runs update on the window thread, unless its opening has ended by then.
    void toWindow(Call update);
    // Runs question on the window thread and waits for it to return. false when it did not run
    // because the opening had ended (or the worker is stopping).
    bool ask(Call question);
    // The step machine ends the opening: close runs on the window thread after the step under way.
    void finish(Call close);
    // A step escaped with an exception: the worker of this thread ends its opening as the step
    // machine closes it. false when this thread is no worker's.
    static bool AbandonStep();

private:
    // Queues call to the thread of context (this: the window thread; workerSide_: the worker).
    void post(QObject* context, Call call);
    // Queues call to the other side as post() does, made in this side's opening: it runs only while
    // contextOpening, the other side's, is still that one. Nothing without an opening (0).
    void postWithin(int opening, QObject* context, const int& contextOpening, Call call);
    static std::mutex& handover();
    // The worker holds the link while it has it reserved and has not lent it to the window thread.
    void setHold(bool reserved, bool lent);
    void released();
    void requireWindowThread(const char* where) const;
    void requireWorkerThread(const char* where) const;

    QThread* thread_ = nullptr;
    QObject* workerSide_ = nullptr; // lives on the worker thread: the context of posted calls
    std::vector<QObject*> adopted_;
    int openings_ = 0;      // window thread
    int windowOpening_ = 0; // window thread: the opening on display, 0 none
    bool reserved_ = false; // window thread: from the opening's first step until the worker left it
    bool lent_ = false;     // window thread: the worker waits in ask()
    bool holding_ = false;  // window thread: counted among the holders
    bool gated_ = false;    // window thread: input waits for this worker's closed opening
    QEventLoop* releaseLoop_ = nullptr; // window thread: waitUntilReleased() under way
    int workerOpening_ = 0; // worker thread: the opening the step machine runs, 0 none
    Call abandon_;          // worker thread: the closing of workerOpening_

    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    int askSerial_ = 0;
    int answeredSerial_ = 0;
    bool answerRan_ = false;
};

} // namespace trv
