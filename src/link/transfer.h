#pragma once
// The transfer engine: reads the radio's memory into the document, writes the
// document into the radio, reads the dealer area, all over the programming
// protocol of link/protocol.h. It never blocks: it is driven by the bytes the
// port receives (onBytes), by the port's failures (onPortError) and by the
// expiry of its one-shot timers (onTimer). Everything runs on one thread.
//
// How a window (or the command line) drives it:
//   1. Implement LinkPort over the serial port and LinkTimers over one-shot
//      timers (platform/serial/qt_link.h has both for Qt), and forward the
//      port's received bytes to onBytes(), its errors to onPortError() and
//      every timer expiry to onTimer().
//   2. Implement TransferObserver, the one way the engine talks outward (the
//      document controller does, control/document_controller.h): a progress
//      display shows itself in progressShown() (non-blocking, e.g.
//      QDialog::open(); do not exec()), follows progress() and closes in
//      progressClosed(); transferEnded() reports the outcome of every
//      transfer that got past its start, after the closing message.
//   3. Call startRead(), startWrite(), startDealerRead() from the commands.
//      Questions, messages and the password dialog go through the session's
//      Prompter (its askPassword() is the password dialog).

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/document.h"
#include "link/protocol.h"
#include "shell/prompter.h"
#include "shell/result.h"
#include "shell/version.h"

namespace zr {
struct Session;
}

namespace zr::link {

enum class TransferKind { None, Read, Write, DealerRead, Identify };
enum class TransferStep { None, Handshake, Identify, Password, TestData, Data, Ending };
enum class TimerId { Wait, WaitSaveData, ReadOK };

inline constexpr int kWaitTimerMs = 150;
inline constexpr int kWaitSaveDataTimerMs = 100;
inline constexpr int kReadOKTimerMs = 500;
inline constexpr int kMaxHandshakeTries = 15;   // more unanswered handshakes: failure
inline constexpr int kTestDataRetries = 3;

struct PortSettings {
    int comPort = 0;                    // "COM" n of the port choice
    std::string settings = "9600,n,8,1";
};

class LinkPort {
public:
    virtual ~LinkPort() = default;
    // Opens the port; a failure carries what went wrong and what to do.
    virtual Result open(const PortSettings& s) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Empties the transmit and receive buffers.
    virtual void clearBuffers() = 0;
    virtual bool write(const Bytes& frame) = 0;
};

class LinkTimers {
public:
    virtual ~LinkTimers() = default;
    virtual void start(TimerId id, int milliseconds) = 0;   // one-shot, restarts
    virtual void stop(TimerId id) = 0;
};

class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    // A command starts (before anything is asked or opened): a read or a
    // write first has every edit in progress taken into the document.
    virtual void transferStarting(TransferKind) {}
    // A read or write starts its exchange: show the progress (caption text
    // 9027 for a read, 9028 for a write) at 0 %.
    virtual void progressShown(TransferKind, const std::string& caption) { (void)caption; }
    virtual void progress(int percent) { (void)percent; }
    virtual void progressReset() {}                   // back to 0 and "0%"
    virtual void progressClosed() {}
    // A read succeeded: the document is about to be replaced by what was
    // read (decoded ReadOK timer later).
    virtual void readReceived() {}
    // The read image is decoded into the document.
    virtual void readDecoded() {}
    // Every transfer that got past its start, after its closing message.
    virtual void transferEnded(TransferKind, bool success) { (void)success; }
    // The user chose to switch to another program version: end now.
    virtual void endProgram() {}
};

// The rules the engine applies; defaults() binds the program's own codecs,
// model and version checks and file commands. Tests may replace single ones.
struct LinkServices {
    std::function<std::string(int)> text;                       // language text "Msg"
    std::function<void(RadioDocument&)> encodeImage;            // fills doc.image
    std::function<void(RadioDocument&)> decodeImage;           // records from doc.image
    std::function<void(RadioDocument&)> decodeDealerInfo;      // radioInfo from rmgImage
    std::function<void(Session&, uint8_t)> takeRadioFlags;      // flags byte of a radio
    std::function<bool(const std::string& docModel, const std::string& radioModel, int kind)> modelMatches;
    std::function<bool(const std::string& radioVersion)> versionAccepted;
    std::function<std::string(const std::string& radioVersion)> versionQuestion;
    std::function<ProgramStart(const std::string& radioVersion)> startProgramVersion;
    std::function<bool()> isModified;                           // unsaved changes
    std::function<bool()> save;                                 // save the document; false: not saved
    // Told every identification a read accepted, before the model check (the
    // command line takes the radio's band from it); may be empty.
    std::function<void(RadioDocument&, const Identification&)> identified;

    static LinkServices defaults(Session& s);
};

class LinkTrace;

class TransferEngine {
public:
    TransferEngine(Session& session, LinkPort& port, LinkTimers& timers);

    void setObserver(TransferObserver* o) { observer_ = o; }
    TransferObserver* observer() const { return observer_; }
    // Every frame and reply of the following transfers goes into the trace
    // (null: none); the engine does not own it.
    void setTrace(LinkTrace* t) { trace_ = t; }
    LinkTrace* trace() const { return trace_; }
    LinkServices& services() { return services_; }

    // The commands. Each returns false when it did not start (another
    // transfer runs, the user cancelled, the port could not be opened).
    bool startRead();
    bool startWrite();          // the exchange starts after WaitSaveDataTimer
    bool startDealerRead();
    bool startIdentify();       // handshake and identification only

    // A read that has ended and waits for its decode timer is decoded now
    // (the command line does not wait the 500 ms the windows need).
    void decodeNow();
    // A write that waits for open windows to commit their edits starts its
    // exchange now (the command line has no windows to wait for).
    void writeNow();

    // Events.
    void onBytes(const uint8_t* data, std::size_t size);
    void onTimer(TimerId id);
    void onPortError(const std::string& description);

    // A message text: the language file's, or the engine's English default.
    std::string text(int n) const { return msg(n); }

    bool busy() const { return kind_ != TransferKind::None || readDecodePending_; }
    TransferKind kind() const { return kind_; }
    TransferStep step() const { return step_; }
    bool lastSucceeded() const { return lastSucceeded_; }
    const Identification& identification() const { return ident_; }
    // Bytes sent and received (echo included) since construction.
    std::size_t bytesSent() const { return bytesSent_; }
    std::size_t bytesReceived() const { return bytesReceived_; }

private:
    // Exchange layer.
    void send(const Bytes& frame, int replyLength);
    void sendHandshake();
    void sendIdentRequest();
    void sendReadRequest(int address);
    void sendWriteBlock(int address);
    void sendEnd();
    void sendTestDataRead();
    void sendTestDataWrite();
    void handleReply(const Bytes& reply);

    // Transfer layer.
    bool openPort();
    void closePort();
    void resetCounters();
    void beginExchange();
    void nextBlock();
    void afterPassword(std::span<const uint8_t> block);
    bool modelCheck();
    void updateProgress();
    void timeout();
    void failureDialog();
    void endTransfer(bool success);
    void finishRead();
    void continueWrite();
    bool askSaveChanges();              // 9006 before losing unsaved changes
    void traceNote(const std::string& text);
    std::string msg(int n) const;
    Answer ask(const std::string& text, Buttons b, Icon i);
    bool handlePendingPortError();
    struct Nest {
        explicit Nest(TransferEngine& e) : e(e) { ++e.depth_; }
        ~Nest() {
            if (--e.depth_ == 0) e.handlePendingPortError();
        }
        TransferEngine& e;
    };

    Session& session_;
    LinkPort& port_;
    LinkTimers& timers_;
    TransferObserver* observer_ = nullptr;
    LinkTrace* trace_ = nullptr;
    LinkServices services_;

    TransferKind kind_ = TransferKind::None;
    TransferStep step_ = TransferStep::None;
    int address_ = -16;
    int startAddress_ = -16;
    int endAddress_ = 5119;
    int handshakeTries_ = 0;
    int identTries_ = 3;
    int passwordTries_ = 3;
    int testDataTries_ = kTestDataRetries;
    std::array<int, 353> blockTries_{};
    int lastPercent_ = 0;
    bool receiving_ = false;
    bool progressVisible_ = false;
    bool readDecodePending_ = false;
    bool lastSucceeded_ = false;
    bool writeWaiting_ = false;   // WaitSaveData runs before a write
    bool inDialog_ = false;
    int depth_ = 0;                 // nesting of event handlers
    int repeats_ = 0;               // 0A answers to the current block
    bool quitAfterEnd_ = false;
    FactoryTestData readTestData_;
    bool haveReadTestData_ = false;
    std::string pendingPortError_;
    bool portErrorPending_ = false;

    int expected_ = 1;              // reply length, echo included
    std::size_t echoLength_ = 0;
    bool accumulate_ = false;       // identification: append until long enough
    int lastReadAddress_ = -1;
    Bytes rx_;
    Identification ident_;
    Bytes unconfirmedIdent_;        // an identification waiting for a second, equal one
    bool writeBlocksSent_ = false;  // the radio may hold part of this write

    RadioImage readImage_{};        // a read lands here; copied into the document at success
    RmgImage readRmg_{};

    std::size_t bytesSent_ = 0;
    std::size_t bytesReceived_ = 0;
};

}  // namespace zr::link
