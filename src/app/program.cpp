#include "app/program.h"

#include <cerrno>
#include <system_error>

#include "app/command_line.h"
#include "app/dispatch.h"
#include "app/run_result.h"
#include "app/screens.h"
#include "core/exchange_reader.h"
#include "core/exchange_writer.h"
#include "core/file_names.h"
#include "core/run.h"
#include "goods/product_table.h"
#include "link/channel.h"
#include "link/register_link.h"
#include "link/status_log.h"
#include "platform/system_error.h"

namespace lorvex {
namespace {

constexpr std::uint32_t kPauseAfterModemLines = 100;
constexpr std::uint32_t kPauseBeforeExit = 500;

// The /F file of a run: a product table or a text exchange file. A dump whose job writes nothing
// opens no file at all, so the user's file stays exactly as it was (or absent).
struct OpenedFile {
    bool opened = false;
    std::unique_ptr<ProductTable> table;
    std::unique_ptr<ExchangeReader> reader;
    std::unique_ptr<ExchangeWriter> writer;
    std::filesystem::path path;
    // The user's file stays exactly as it was.
    void discard() {
        if (writer) writer->discard();
        table.reset();
    }
};

// The state query reads a digit it keeps nowhere, the hourly report skipped by /E asks nothing,
// and a letter with no job runs nothing.
bool writesExchangeFile(const JobEntry* job, const Settings& settings) {
    if (job == nullptr || job->letter == 'X') return false;
    return job->letter != 'O' || !settings.skipHourlyReport;
}

OpenedFile openRunFile(const Settings& settings, const std::filesystem::path& workDir,
                       bool writesFile) {
    OpenedFile opened;
    const std::filesystem::path path = resolveFileName(workDir, settings.fileName);
    opened.path = path;
    switch (ProductTable::open(path, opened.table)) {
        case ProductTable::OpenResult::Opened:
            opened.table->mapFieldNames();
            opened.table->rewind();
            opened.opened = true;
            return opened;
        case ProductTable::OpenResult::Invalid:
            // Never taken for a text file: a dump would empty the user's table.
            return opened;
        case ProductTable::OpenResult::NotATable:
            break;
    }
    if (settings.direction == Direction::Load) {
        opened.reader = ExchangeReader::open(path);
        opened.opened = opened.reader != nullptr;
    } else {
        if (writesFile) opened.writer = ExchangeWriter::open(path);
        opened.opened = !writesFile || opened.writer != nullptr;
    }
    return opened;
}

// Why the /F file could not be used: the system's words when it gave some.
std::string fileFailure(const OpenedFile& file, int error) {
    if (file.table) return "a product table serves only the goods jobs";
    return error != 0 ? errnoText(error) : "not a file this job can read or write";
}

std::string shownPort(std::string device) {
    // Windows opens COM ports through the device namespace: "\\.\COM3" is COM3.
    if (device.rfind("\\\\.\\", 0) == 0) device.erase(0, 4);
    return device;
}

// A screen instead of a job: true when one was shown.
bool showScreen(const Settings& settings, Console& console) {
    switch (settings.commandLetter) {
        case '?':
            printBanner(console);
            return true;
        case 'h':
            printHelp(console);
            return true;
        case 'v':
            printProgramInfo(console);
            return true;
        case 'n':
            console.print("lorvex " LORVEX_VERSION "\n");
            return true;
        default:
            return false;
    }
}

// The run after the command line: the job with its file, port and error log.
int runJob(const Settings& settings, Environment& env, StatusLog& log, RunResult& result) {
    env.console.showSpinner(40, 11, "-");
    result.job = settings.commandLetter == '\0' ? "" : std::string(1, settings.commandLetter);
    const JobEntry* job = findJob(settings.commandLetter);
    if (job == nullptr) {
        std::string option = "/C";
        if (settings.commandLetter != '\0') option += settings.commandLetter;
        env.console.error("lorvex: " + option + " names no job; nothing was done");
    }

    errno = 0;
    OpenedFile file = openRunFile(settings, env.workDir, writesExchangeFile(job, settings));
    const int openError = errno;
    const std::u8string fileName = file.path.u8string();
    result.file.assign(fileName.begin(), fileName.end());
    if (!file.opened || (file.table && job != nullptr && !job->worksOnProductTable)) {
        // A product table only serves the jobs that read or append goods records.
        result.reason = fileFailure(file, openError);
        file.discard();
        log.report(kOpenFailed, 0, "");
        return kExitFileFailed;
    }

    PortFailure portFailure;
    std::unique_ptr<SerialPort> port = env.openPort(settings, portFailure);
    // The device is named also when the port opened.
    result.port = shownPort(portFailure.device);
    if (!port) {
        result.reason = portFailure.reason;
        std::string line = "lorvex: cannot open the port " + portFailure.device;
        if (!portFailure.reason.empty()) line += ": " + portFailure.reason;
        if (!portFailure.hint.empty()) line += " (" + portFailure.hint + ")";
        env.console.error(line);
        file.discard();
        log.report(kOpenFailed, 0, "");
        return kExitPortFailed;
    }
    if (settings.channel > 0) {
        selectChannel(*port, env.clock, env.console, settings.traceLevel, settings.channel);
    }
    port->setRts(1);
    port->setDtr(1);
    env.clock.sleepMs(kPauseAfterModemLines);

    RegisterLink link(*port, env.clock, env.console, settings.traceLevel);
    Run run{.settings = settings,
            .console = env.console,
            .clock = env.clock,
            .link = link,
            .log = log,
            .reader = file.reader.get(),
            .writer = file.writer.get(),
            .table = file.table.get(),
            .currentItemCode = {},
            .counts = {}};
    if (settings.utf8Files && run.reader) run.reader->useUtf8();
    if (settings.utf8Files && run.writer) run.writer->useUtf8();
    if (job != nullptr) job->run(run);

    int exitCode = kExitDone;
    if (file.table) {
        if (file.table->writeFailed()) {
            run.report(kOpenFailed);
            exitCode = kExitFileFailed;
        }
        file.table->close();
    }
    const bool registerNeverAnswered = run.lastStatus == kNoAnswer || run.lastStatus == kLinkLost;
    if (file.writer && job != nullptr &&
        ((!file.writer->written() && registerNeverAnswered) || run.lineDead)) {
        // Nothing came from the register, or it stopped answering half-way: the user's earlier
        // file is worth more than an empty or partial one.
        file.writer->discard();
    } else if (file.writer) {
        if (const FileResult committed = file.writer->commit(); !committed.ok()) {
            // The exchange file could not be written whole; the old file is kept.
            result.reason = committed.failure;
            run.report(kOpenFailed);
            exitCode = kExitFileFailed;
        }
    }
    result.counts = run.counts;
    log.close();
    port.reset();
    env.clock.sleepMs(kPauseBeforeExit);
    return exitCode;
}

}  // namespace

int runProgram(const std::vector<std::string>& args, Environment& env) {
    const std::filesystem::path logPath = env.workDir / "error.orv";
    std::error_code ignored;
    std::filesystem::remove(logPath, ignored);

    const Settings settings = parseArguments(args);
    RunResult result;
    result.started = env.clock.wallClockMs();
    const std::uint64_t start = env.clock.nowMs();
    result.direction = settings.direction;
    StatusLog log(logPath, settings.charsetMode, settings.traceLevel, env.console,
                  settings.utf8Files);
    result.exitCode =
        showScreen(settings, env.console) ? kExitDone : runJob(settings, env, log, result);
    if (!settings.resultFileName) return result.exitCode;

    result.statuses = log.entries();
    result.durationMs = env.clock.nowMs() - start;
    const std::filesystem::path resultPath = resolveFileName(env.workDir, *settings.resultFileName);
    // A caller must not take an earlier run's result for this one's.
    if (!writeRunResult(resultPath, result, env.console) && result.exitCode == kExitDone) {
        return kExitFileFailed;
    }
    return result.exitCode;
}

}  // namespace lorvex
