#include "app/program.h"

#include <system_error>

#include "app/command_line.h"
#include "app/dispatch.h"
#include "app/screens.h"
#include "core/exchange_reader.h"
#include "core/exchange_writer.h"
#include "core/file_names.h"
#include "core/run.h"
#include "goods/product_table.h"
#include "link/channel.h"
#include "link/register_link.h"
#include "link/status_log.h"

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
    // The user's file stays exactly as it was.
    void discard() {
        if (writer) writer->discard();
        table.reset();
    }
};

// The state query reads a digit it keeps nowhere; a letter with no job runs nothing.
bool writesExchangeFile(const JobEntry* job) {
    return job != nullptr && job->letter != 'X';
}

OpenedFile openRunFile(const Settings& settings, const std::filesystem::path& workDir,
                       bool writesFile) {
    OpenedFile opened;
    const std::filesystem::path path = resolveFileName(workDir, settings.fileName);
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

}  // namespace

int runProgram(const std::vector<std::string>& args, Environment& env) {
    const std::filesystem::path logPath = env.workDir / "error.orv";
    std::error_code ignored;
    std::filesystem::remove(logPath, ignored);

    const Settings settings = parseCommandLine(joinArguments(args));
    switch (settings.commandLetter) {
        case '?':
            printBanner(env.console);
            return kExitDone;
        case 'h':
            printHelp(env.console);
            return kExitDone;
        case 'v':
            printProgramInfo(env.console);
            return kExitDone;
        default:
            break;
    }
    env.console.showSpinner(40, 11, "-");

    StatusLog log(logPath, settings.charsetMode, settings.traceLevel, env.console,
                  settings.utf8Files);
    const JobEntry* job = findJob(settings.commandLetter);
    if (job == nullptr) {
        std::string option = "/C";
        if (settings.commandLetter != '\0') option += settings.commandLetter;
        env.console.error("lorvex: " + option + " names no job; nothing was done");
    }

    OpenedFile file = openRunFile(settings, env.workDir, writesExchangeFile(job));
    if (!file.opened || (file.table && job != nullptr && !job->worksOnProductTable)) {
        // A product table only serves the jobs that read or append goods records.
        file.discard();
        log.report(kOpenFailed, 0, "");
        return kExitFileFailed;
    }

    PortFailure portFailure;
    std::unique_ptr<SerialPort> port = env.openPort(settings, portFailure);
    if (!port) {
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
    if (file.writer && job != nullptr && !file.writer->written() && registerNeverAnswered) {
        // Nothing came from the register: the user's earlier file is worth more than an empty one.
        file.writer->discard();
    } else if (file.writer && !file.writer->commit().ok()) {
        // The exchange file could not be written whole; the old file is kept.
        run.report(kOpenFailed);
        exitCode = kExitFileFailed;
    }
    log.close();
    port.reset();
    env.clock.sleepMs(kPauseBeforeExit);
    return exitCode;
}

}  // namespace lorvex
