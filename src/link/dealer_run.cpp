#include "link/dealer_run.h"

#include <cstdio>

#include "shell/atomic_file.h"

namespace zr::link {

namespace {

const char* const kRunning = "running";

std::string CsvField(const std::string& v) {
    if (v.find_first_of(",\"\r\n") == std::string::npos) return v;
    std::string out = "\"";
    for (const char c : v) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace

std::string LocalTimeText(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

DealerRun::DealerRun(Session& session, LinkPort& port, LinkTimers& timers)
    : job_(std::make_unique<WriteJob>(session, port, timers)), clock_([] { return std::time(nullptr); }) {
    job_->setGiveUpWithoutAnswer(true);
}

DealerRun::~DealerRun() = default;

TransferEngine& DealerRun::engine() { return job_->engine(); }
void DealerRun::setProgress(TransferObserver* o) { job_->setProgress(o); }
bool DealerRun::running() const { return job_->running(); }

std::size_t DealerRun::next(Done done) {
    DealerRow row;
    row.radio = static_cast<int>(rows_.size()) + 1;
    rows_.push_back(row);
    const std::size_t index = rows_.size() - 1;
    attempt(index, std::move(done));
    return index;
}

bool DealerRun::retry(std::size_t row, Done done) {
    if (running() || row >= rows_.size()) return false;
    attempt(row, std::move(done));
    return true;
}

void DealerRun::attempt(std::size_t index, Done done) {
    DealerRow& row = rows_[index];
    row.time = LocalTimeText(clock_());
    row.ok = false;
    row.result = kRunning;
    ++row.attempts;
    WriteJobOptions options;
    options.dealerInfo = true;
    options.verify = verify_;
    const bool started = job_->start(options, [this, index, done](const WriteJobResult& r) {
        DealerRow& row = rows_[index];
        if (r.stage != WriteStage::DealerInfo) row.serialNo = r.serialNo;   // read in this attempt
        row.ok = r.success;
        row.result = r.message;
        if (done) done(index);
    });
    if (!started) {
        row.result = running() ? "another transfer is running" : "the port could not be opened";
        if (done) done(index);
    }
}

std::string DealerRowResultText(const DealerRow& r) {
    if (r.ok) return "OK: " + r.result;
    return r.result == kRunning ? r.result : "FAILED: " + r.result;
}

std::string DealerLogCsv(const std::vector<DealerRow>& rows) {
    std::string out = "Radio,Time,Serial number,Result,Details,Attempts\r\n";
    for (const auto& r : rows)
        out += std::to_string(r.radio) + "," + CsvField(r.time) + "," + CsvField(r.serialNo) + "," +
               (r.ok ? "OK" : "FAILED") + "," + CsvField(r.result) + "," + std::to_string(r.attempts) + "\r\n";
    return out;
}

Result SaveDealerLog(const std::string& path, const std::vector<DealerRow>& rows) {
    return WriteFileAtomically(path, DealerLogCsv(rows));
}

}  // namespace zr::link
