#include "link/transfer.h"

#include <algorithm>

#include "link/trace.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr::link {

namespace {

constexpr int kMaxRepeatsPerBlock = 10;   // a radio that keeps asking for a block again

std::string CleanModel(const std::string& s) {
    std::string r = s.substr(0, s.find('\0'));
    while (!r.empty() && r.back() == ' ') r.pop_back();
    return r;
}

// English wording for the few texts the engine shows, used when the language
// file has none.
std::string FallbackText(int n) {
    switch (n) {
        case 9003: return "Cannot open the serial port.";
        case 9004: return "Read the data from the radio?";
        case 9005: return "Write the data to the radio?";
        case 9006: return "The document has been changed. Save it?";
        case 9008: return "The radio does not answer. Try again?";
        case 9009: return "Reading finished.";
        case 9010: return "Writing finished.";
        case 9012: return "The radio is of another model.";
        case 9027: return "Read";
        case 9028: return "Write";
        case 9029: return "Progress";
        case 9030: return "The radio is of another band.";
        case 9031: return "This radio cannot be written.";
        case 9032: return "This radio cannot be written.";
        case 9081: return "The serial port failed during the transfer.";
        case 9121: return "The radio may now be partly programmed. Write the document again, or the last backup, to restore it.";
        default: return "Message " + std::to_string(n);
    }
}

}  // namespace

TransferEngine::TransferEngine(Session& session, LinkPort& port, LinkTimers& timers)
    : session_(session), port_(port), timers_(timers), services_(LinkServices::defaults(session)) {
    blockTries_.fill(3);
}

std::string TransferEngine::msg(int n) const {
    std::string t = services_.text ? services_.text(n) : std::string();
    return t.empty() ? FallbackText(n) : t;
}

Answer TransferEngine::ask(const std::string& text, Buttons b, Icon i) {
    if (!session_.prompter) return b == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    timers_.stop(TimerId::Wait);
    inDialog_ = true;
    const Answer a = session_.prompter->ask(Question{text, {}, b, i});
    inDialog_ = false;
    return a;
}

// ---------------------------------------------------------------- exchanges

void TransferEngine::send(const Bytes& frame, int replyLength) {
    timers_.start(TimerId::Wait, kWaitTimerMs);
    echoLength_ = session_.settings.CableEcho ? frame.size() : 0;
    expected_ = static_cast<int>(echoLength_) + replyLength;
    accumulate_ = false;
    rx_.clear();
    port_.clearBuffers();
    bytesSent_ += frame.size();
    if (trace_) trace_->sent(step_, frame);
    if (!port_.write(frame)) onPortError("write failed");
}

void TransferEngine::traceNote(const std::string& text) {
    if (trace_) trace_->note(step_, text);
}

void TransferEngine::sendHandshake() { send(HandshakeFrame(), kHandshakeReplyLength); }

void TransferEngine::sendIdentRequest() {
    send(IdentRequestFrame(), kIdentReplyLength);
    accumulate_ = true;
}

void TransferEngine::sendReadRequest(int address) {
    lastReadAddress_ = address;
    send(ReadRequestFrame(address), kBlockReplyLength);
}

void TransferEngine::sendWriteBlock(int address) {
    const auto& img = session_.doc.image;
    std::span<const uint8_t> data;
    if (address >= 0 && address + kBlockLength <= kRadioImageSize)
        data = std::span<const uint8_t>(img.data() + address, kBlockLength);
    writeBlocksSent_ = true;
    send(WriteBlockFrame(address, data), kAckReplyLength);
}

void TransferEngine::sendEnd() { send(EndFrame(), kAckReplyLength); }

void TransferEngine::sendTestDataRead() { sendReadRequest(kTestDataBlockAddress); }

void TransferEngine::sendTestDataWrite() {
    send(WriteBlockFrame(kTestDataBlockAddress, session_.doc.testData.bytes), kAckReplyLength);
}

void TransferEngine::onBytes(const uint8_t* data, std::size_t size) {
    Nest nest(*this);
    bytesReceived_ += size;
    if (!receiving_ || kind_ == TransferKind::None) {
        if (trace_ && size > 0) trace_->stray(step_, std::span<const uint8_t>(data, size), 0, "not awaited, ignored");
        return;
    }
    rx_.insert(rx_.end(), data, data + size);
    if (static_cast<int>(rx_.size()) < expected_) return;
    Bytes reply;
    if (accumulate_) {
        reply.swap(rx_);
    } else {
        reply.assign(rx_.begin(), rx_.begin() + expected_);
        rx_.clear();
    }
    handleReply(reply);
}

void TransferEngine::handleReply(const Bytes& reply) {
    ClassifyContext ctx{echoLength_, lastReadAddress_, step_ == TransferStep::Password};
    const ReplyKind rk = ClassifyReply(reply, ctx);
    if (trace_) trace_->received(step_, reply, echoLength_, rk);
    if (rk == ReplyKind::None) return;   // dropped; the reply timer runs on

    switch (step_) {
        case TransferStep::Handshake:
            if (rk != ReplyKind::HandshakeAccepted) return;
            timers_.stop(TimerId::Wait);
            step_ = TransferStep::Identify;
            sendIdentRequest();
            return;

        case TransferStep::Identify: {
            if (rk != ReplyKind::Identification) return;
            timers_.stop(TimerId::Wait);
            if (kind_ == TransferKind::DealerRead) {
                step_ = TransferStep::Data;
                nextBlock();
                return;
            }
            // The reply has no checksum, and a write copies its bytes into the
            // radio: it counts only when a second request brings the same.
            const Bytes answer(reply.begin() + static_cast<std::ptrdiff_t>(echoLength_), reply.end());
            if (answer != unconfirmedIdent_) {
                const bool first = unconfirmedIdent_.empty();
                unconfirmedIdent_ = answer;
                traceNote(first ? "identification asked again to confirm it"
                                : "identification differs from the one before; asked again");
                if (identTries_ >= 2) {
                    --identTries_;
                    sendIdentRequest();
                } else {
                    failureDialog();
                }
                return;
            }
            unconfirmedIdent_.clear();
            ident_ = ParseIdentification(reply, echoLength_);
            if (kind_ == TransferKind::Read && services_.identified) services_.identified(session_.doc, ident_);
            uint8_t* img = kind_ == TransferKind::Read ? readImage_.data() : session_.doc.image.data();
            if (kind_ == TransferKind::Read || kind_ == TransferKind::Write) {
                std::copy_n(ident_.modelBytes, 7, img + 5104);
                std::copy_n(ident_.versionBytes, 4, img + 5112);
                img[5116] = ident_.flags;
                if (services_.takeRadioFlags) services_.takeRadioFlags(session_, ident_.flags);
            }
            if (kind_ == TransferKind::Identify) {
                step_ = TransferStep::Ending;
                sendEnd();
                return;
            }
            if (kind_ == TransferKind::Write) {
                if (ident_.flags & 0x08) {
                    ask(msg(9031), Buttons::Ok, Icon::None);
                    endTransfer(false);
                    return;
                }
                if (ident_.flags & 0x04) {
                    ask(msg(9032), Buttons::Ok, Icon::None);
                    endTransfer(false);
                    return;
                }
            }
            step_ = TransferStep::Password;
            sendReadRequest(kPasswordBlockAddress);
            return;
        }

        case TransferStep::Password:
            if (rk != ReplyKind::PasswordBlock) return;
            timers_.stop(TimerId::Wait);
            afterPassword(BlockData(reply, echoLength_));
            return;

        case TransferStep::TestData:
            if (kind_ == TransferKind::Read && rk == ReplyKind::TestData) {
                timers_.stop(TimerId::Wait);
                const auto d = BlockData(reply, echoLength_);
                std::copy(d.begin(), d.end(), readTestData_.bytes.begin());
                haveReadTestData_ = true;
                step_ = TransferStep::Data;
                nextBlock();
            } else if (kind_ == TransferKind::Write && rk == ReplyKind::Accepted) {
                timers_.stop(TimerId::Wait);
                step_ = TransferStep::Data;
                nextBlock();
            } else if (kind_ == TransferKind::Write && rk == ReplyKind::Repeat) {
                timers_.stop(TimerId::Wait);
                if (testDataTries_ >= 1) {
                    --testDataTries_;
                    sendTestDataWrite();
                } else {
                    failureDialog();
                }
            }
            return;

        case TransferStep::Data:
            if ((kind_ == TransferKind::Read || kind_ == TransferKind::DealerRead) &&
                rk == ReplyKind::DataBlock) {
                timers_.stop(TimerId::Wait);
                const auto d = BlockData(reply, echoLength_);
                if (address_ >= 0 && address_ + kBlockLength <= kRadioImageSize)
                    std::copy(d.begin(), d.end(), readImage_.begin() + address_);
                else if (address_ >= kRmgBaseAddress && address_ + kBlockLength <= kRmgBaseAddress + kRmgImageSize)
                    std::copy(d.begin(), d.end(), readRmg_.begin() + (address_ - kRmgBaseAddress));
                if (kind_ == TransferKind::Read) updateProgress();
                nextBlock();
            } else if (kind_ == TransferKind::Write && rk == ReplyKind::Accepted) {
                timers_.stop(TimerId::Wait);
                nextBlock();
            } else if (kind_ == TransferKind::Write && rk == ReplyKind::Repeat) {
                timers_.stop(TimerId::Wait);
                if (++repeats_ > kMaxRepeatsPerBlock) {
                    failureDialog();
                    return;
                }
                sendWriteBlock(address_);
            }
            return;

        case TransferStep::Ending:
            if (rk != ReplyKind::Accepted) return;
            endTransfer(true);
            return;

        case TransferStep::None:
            return;
    }
}

// ---------------------------------------------------------------- transfers

void TransferEngine::resetCounters() {
    handshakeTries_ = 0;
    identTries_ = 3;
    passwordTries_ = 3;
    testDataTries_ = kTestDataRetries;
    repeats_ = 0;
    blockTries_.fill(3);
    unconfirmedIdent_.clear();
}

bool TransferEngine::openPort() {
    resetCounters();
    if (port_.isOpen()) port_.close();
    expected_ = 1;
    if (const Result opened = port_.open(PortSettings{session_.settings.comPort, "9600,n,8,1"}); !opened) {
        traceNote("the port could not be opened: " + opened.message());
        ask(msg(9003) + "\n" + opened.message(), Buttons::Ok, Icon::Critical);
        return false;
    }
    portErrorPending_ = false;
    traceNote(std::string(TransferKindName(kind_)) + ": port opened, 9600,n,8,1, cable echo " +
              (session_.settings.CableEcho ? "expected" : "not expected"));
    return true;
}

void TransferEngine::closePort() {
    if (port_.isOpen()) port_.close();
}

bool TransferEngine::askSaveChanges() {
    if (!services_.isModified || !services_.isModified()) return true;
    const Answer a = ask(msg(9006), Buttons::YesNoCancel, Icon::Question);
    if (a == Answer::No) return true;
    if (a == Answer::Yes) return services_.save && services_.save();
    return false;
}

bool TransferEngine::startRead() {
    if (busy()) return false;
    Nest nest(*this);
    if (observer_) observer_->transferStarting(TransferKind::Read);
    kind_ = TransferKind::Read;
    step_ = TransferStep::None;
    receiving_ = false;
    startAddress_ = -16;
    endAddress_ = kRadioImageSize - 1;
    if (!openPort()) {
        kind_ = TransferKind::None;
        return false;
    }
    closePort();
    if (ask(msg(9004), Buttons::OkCancel, Icon::Question) != Answer::Ok || !askSaveChanges()) {
        closePort();
        kind_ = TransferKind::None;
        return false;
    }
    readImage_.fill(0xFF);
    haveReadTestData_ = false;
    progressVisible_ = true;
    lastPercent_ = 0;
    if (observer_) observer_->progressShown(kind_, msg(9027));
    beginExchange();
    return kind_ != TransferKind::None;
}

bool TransferEngine::startWrite() {
    if (busy()) return false;
    Nest nest(*this);
    if (observer_) observer_->transferStarting(TransferKind::Write);
    kind_ = TransferKind::Write;   // reserved while open windows commit
    step_ = TransferStep::None;
    receiving_ = false;
    writeWaiting_ = true;
    timers_.start(TimerId::WaitSaveData, kWaitSaveDataTimerMs);
    return true;
}

void TransferEngine::continueWrite() {
    kind_ = TransferKind::Write;
    receiving_ = false;
    startAddress_ = -16;
    endAddress_ = kRadioImageSize - 1;
    if (!openPort()) {
        kind_ = TransferKind::None;
        if (observer_) observer_->transferEnded(TransferKind::Write, false);
        return;
    }
    closePort();
    if (ask(msg(9005), Buttons::OkCancel, Icon::Question) != Answer::Ok) {
        closePort();
        kind_ = TransferKind::None;
        if (observer_) observer_->transferEnded(TransferKind::Write, false);
        return;
    }
    session_.doc.image.fill(0xFF);
    if (services_.encodeImage) services_.encodeImage(session_.doc);
    progressVisible_ = true;
    lastPercent_ = 0;
    if (observer_) observer_->progressShown(kind_, msg(9028));
    beginExchange();
}

bool TransferEngine::startDealerRead() {
    if (busy()) return false;
    Nest nest(*this);
    if (observer_) observer_->transferStarting(TransferKind::DealerRead);
    kind_ = TransferKind::DealerRead;
    startAddress_ = kIdentBlockAddress;
    endAddress_ = kRmgBaseAddress + kRmgImageSize - 1;
    if (!openPort()) {
        kind_ = TransferKind::None;
        return false;
    }
    readRmg_ = session_.doc.rmgImage;
    progressVisible_ = false;
    address_ = startAddress_;
    step_ = TransferStep::Handshake;
    receiving_ = true;
    sendHandshake();
    return kind_ != TransferKind::None;
}

bool TransferEngine::startIdentify() {
    if (busy()) return false;
    Nest nest(*this);
    kind_ = TransferKind::Identify;
    startAddress_ = -16;
    endAddress_ = kRadioImageSize - 1;
    if (!openPort()) {
        kind_ = TransferKind::None;
        return false;
    }
    progressVisible_ = false;
    address_ = startAddress_;
    step_ = TransferStep::Handshake;
    receiving_ = true;
    sendHandshake();
    return kind_ != TransferKind::None;
}

void TransferEngine::beginExchange() {
    handshakeTries_ = 0;
    identTries_ = 3;
    if (!openPort()) {
        endTransfer(false);
        return;
    }
    address_ = startAddress_;
    step_ = TransferStep::Handshake;
    receiving_ = true;
    sendHandshake();
}

void TransferEngine::nextBlock() {
    address_ += kBlockLength;
    repeats_ = 0;
    if (address_ >= endAddress_) {
        step_ = TransferStep::Ending;
        sendEnd();
        return;
    }
    if (kind_ == TransferKind::Write) {
        updateProgress();
        sendWriteBlock(address_);
    } else {
        sendReadRequest(address_);
    }
}

void TransferEngine::updateProgress() {
    const int p = ProgressPercent(address_, endAddress_);
    if (p > lastPercent_ && progressVisible_) {
        lastPercent_ = p;
        if (observer_) observer_->progress(p);
    }
}

void TransferEngine::afterPassword(std::span<const uint8_t> block) {
    std::string& pw = session_.settings.ProgramPassword;
    if (!CheckPassword(block, pw)) {
        const Bytes copy(block.begin(), block.end());
        std::optional<std::string> given;
        receiving_ = false;
        inDialog_ = true;
        if (session_.prompter) given = session_.prompter->askPassword();
        inDialog_ = false;
        if (!given) {
            endTransfer(false);
            return;
        }
        std::string s = given->substr(0, given->find('\0'));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        pw = s;
        if (!CheckPassword(copy, pw)) {
            ask("PassWord Failure!", Buttons::Ok, Icon::None);
            endTransfer(false);
            return;
        }
        receiving_ = true;
    }
    if (!modelCheck()) {
        endTransfer(false);
        if (quitAfterEnd_) {
            quitAfterEnd_ = false;
            if (services_.startProgramVersion) {
                const ProgramStart started = services_.startProgramVersion(ident_.version);
                if (!started.result) ask(started.result.message(), Buttons::Ok, started.icon);
            }
            if (observer_) observer_->endProgram();
        }
        return;
    }
    if (session_.settings.factoryTestMode) {
        step_ = TransferStep::TestData;
        testDataTries_ = kTestDataRetries;
        if (kind_ == TransferKind::Read) {
            sendTestDataRead();
        } else {
            session_.doc.testData.bytes[15] = 0xA5;
            sendTestDataWrite();
        }
        return;
    }
    step_ = TransferStep::Data;
    nextBlock();
}

bool TransferEngine::modelCheck() {
    const std::string docModel = CleanModel(session_.doc.currentModel);
    const bool bandOk = session_.doc.stored.ModelBand.BandCode == ident_.band;
    const int kindNumber = kind_ == TransferKind::Write ? 2 : 1;
    const bool modelOk = services_.modelMatches ? services_.modelMatches(docModel, ident_.model, kindNumber)
                                                : docModel == ident_.model;
    const bool versionOk = services_.versionAccepted ? services_.versionAccepted(ident_.version)
                                                     : ident_.version == "V100";
    if (bandOk && modelOk && versionOk) return true;
    if (docModel != ident_.model) {
        ask(msg(9012), Buttons::Ok, Icon::None);
    } else if (!versionOk) {
        const std::string q = services_.versionQuestion ? services_.versionQuestion(ident_.version)
                                                        : ident_.version;
        if (ask(q, Buttons::YesNo, Icon::Question) == Answer::Yes) {
            // Switching versions ends this program: offer to keep the changes
            // first; Cancel keeps the program running.
            quitAfterEnd_ = askSaveChanges();
        }
    } else {
        ask(msg(9030), Buttons::Ok, Icon::Warning);
    }
    return false;
}

void TransferEngine::onTimer(TimerId id) {
    Nest nest(*this);
    timers_.stop(id);
    switch (id) {
        case TimerId::Wait:
            if (kind_ != TransferKind::None && receiving_) timeout();
            break;
        case TimerId::WaitSaveData:
            writeWaiting_ = false;
            if (kind_ == TransferKind::Write && step_ == TransferStep::None) continueWrite();
            break;
        case TimerId::ReadOK:
            finishRead();
            break;
    }
}

void TransferEngine::timeout() {
    const bool dealer = kind_ == TransferKind::DealerRead;
    if (trace_) {
        trace_->note(step_, "no reply within " + std::to_string(kWaitTimerMs) + " ms");
        if (!rx_.empty()) trace_->stray(step_, rx_, echoLength_, "incomplete reply, " + std::to_string(rx_.size()) +
                                                                     " of " + std::to_string(expected_) + " bytes");
    }
    switch (step_) {
        case TransferStep::Handshake:
            if (++handshakeTries_ > kMaxHandshakeTries) {
                failureDialog();
            } else {
                session_.settings.CableEcho = !session_.settings.CableEcho;
                sendHandshake();
            }
            return;
        case TransferStep::Identify:
            if (!dealer && identTries_ >= 2) {
                --identTries_;
                sendIdentRequest();
            } else {
                failureDialog();
            }
            return;
        case TransferStep::Password:
            if (passwordTries_ >= 2) {
                --passwordTries_;
                sendReadRequest(kPasswordBlockAddress);
            } else {
                failureDialog();
            }
            return;
        case TransferStep::TestData:
            if (testDataTries_ >= 1) {
                --testDataTries_;
                if (kind_ == TransferKind::Read) sendTestDataRead();
                else sendTestDataWrite();
            } else {
                failureDialog();
            }
            return;
        case TransferStep::Data: {
            const int index = std::clamp(address_ / kBlockLength, 0, static_cast<int>(blockTries_.size()) - 1);
            if (dealer || blockTries_[index] < 1) {
                failureDialog();
            } else {
                --blockTries_[index];
                if (kind_ == TransferKind::Write) sendWriteBlock(address_);
                else sendReadRequest(address_);
            }
            return;
        }
        case TransferStep::Ending:
            // The data are through; a radio that does not confirm the end
            // frame has still received or sent everything.
            endTransfer(true);
            return;
        case TransferStep::None:
            return;
    }
}

void TransferEngine::failureDialog() {
    resetCounters();
    receiving_ = false;
    timers_.stop(TimerId::Wait);
    const bool dealer = kind_ == TransferKind::DealerRead;
    const Answer a = dealer ? ask(msg(9008), Buttons::RetryCancel, Icon::None)
                            : ask(msg(9008), Buttons::OkCancel, Icon::Question);
    if (portErrorPending_) return;   // handled by the caller once the dialog is gone
    if (a == Answer::Ok || a == Answer::Retry) {
        step_ = TransferStep::Handshake;
        address_ = startAddress_;
        if (dealer) readRmg_ = session_.doc.rmgImage;
        lastPercent_ = 0;
        if (progressVisible_ && observer_) observer_->progressReset();
        receiving_ = true;
        sendHandshake();
        return;
    }
    endTransfer(false);
}

void TransferEngine::endTransfer(bool success) {
    const TransferKind kind = kind_;
    const bool partlyWritten = !success && kind == TransferKind::Write && writeBlocksSent_;
    writeBlocksSent_ = false;
    traceNote(std::string(TransferKindName(kind)) + (success ? " ended: done" : " ended: failed"));
    if (!success && port_.isOpen()) {
        // Tell the radio to leave programming mode; no reply is awaited.
        port_.clearBuffers();
        const Bytes end = EndFrame();
        bytesSent_ += end.size();
        port_.write(end);
    }
    receiving_ = false;
    resetCounters();
    closePort();
    if ((kind == TransferKind::Read || kind == TransferKind::Write) && progressVisible_ && observer_)
        observer_->progressClosed();
    progressVisible_ = false;
    timers_.stop(TimerId::Wait);
    kind_ = TransferKind::None;
    step_ = TransferStep::None;
    lastSucceeded_ = success;
    rx_.clear();

    if (success) {
        if (kind == TransferKind::Read) {
            session_.doc.image = readImage_;
            if (haveReadTestData_) session_.doc.testData = readTestData_;
            if (observer_) observer_->readReceived();
            readDecodePending_ = true;
            timers_.start(TimerId::ReadOK, kReadOKTimerMs);
        } else if (kind == TransferKind::DealerRead) {
            session_.doc.rmgImage = readRmg_;
            if (services_.decodeDealerInfo) services_.decodeDealerInfo(session_.doc);
        }
    }
    if (success && kind == TransferKind::Read) ask(msg(9009), Buttons::Ok, Icon::None);
    if (success && kind == TransferKind::Write) ask(msg(9010), Buttons::Ok, Icon::None);
    if (partlyWritten) ask(msg(9121), Buttons::Ok, Icon::Warning);
    if (observer_) observer_->transferEnded(kind, success);
}

void TransferEngine::writeNow() {
    if (!writeWaiting_) return;
    onTimer(TimerId::WaitSaveData);
}

void TransferEngine::decodeNow() {
    if (!readDecodePending_ || kind_ != TransferKind::None) return;
    timers_.stop(TimerId::ReadOK);
    finishRead();
}

void TransferEngine::finishRead() {
    if (!readDecodePending_) return;
    readDecodePending_ = false;
    if (services_.decodeImage) services_.decodeImage(session_.doc);
    session_.doc.fileName = "new.dat";
    session_.doc.neverSaved = true;
    session_.doc.changes.replaced();
    if (observer_) observer_->readDecoded();
}

void TransferEngine::onPortError(const std::string& description) {
    pendingPortError_ = description;
    portErrorPending_ = true;
    if (inDialog_ || depth_ > 0) return;
    handlePendingPortError();
}

bool TransferEngine::handlePendingPortError() {
    if (!portErrorPending_ || inDialog_ || depth_ > 0) return false;
    portErrorPending_ = false;
    if (kind_ == TransferKind::None || step_ == TransferStep::None) {
        // Nothing awaits the port; make sure it is released.
        closePort();
        return false;
    }
    timers_.stop(TimerId::Wait);
    receiving_ = false;
    closePort();   // no end frame: the port is gone
    std::string text = msg(9081);
    if (!pendingPortError_.empty()) text += "\n" + pendingPortError_;
    ask(text, Buttons::Ok, Icon::Critical);
    endTransfer(false);
    return true;
}

}  // namespace zr::link
