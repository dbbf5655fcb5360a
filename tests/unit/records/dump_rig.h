#pragma once

// A dump run against a scripted register, writing its exchange file in a temporary directory.

#include <memory>
#include <string>

#include "core/run.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"

namespace lorvex::test {

struct DumpRig : LinkRig {
    using LinkRig::LinkRig;
    // The exchange file as it stands once committed.
    std::string written() {
        file->commit();
        return readText(dir / "std.dat");
    }
    TempDir dir;
    Settings settings;
    StatusLog log{dir / "error.orv", CharsetMode::Mazovia, 0, console};
    std::unique_ptr<ExchangeWriter> file = ExchangeWriter::open(dir / "std.dat");
    Run run{.settings = settings,
            .console = console,
            .clock = clock,
            .link = link,
            .log = log,
            .writer = file.get(),
            .currentItemCode = {},
            .counts = {}};
};

}  // namespace lorvex::test
