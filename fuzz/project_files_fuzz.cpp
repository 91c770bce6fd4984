// The project files a technician opens for a download, with arbitrary contents: the project
// file (.pr) with its fixed columns, the configuration block file (.kb) and a module file
// (.ob) with its header, kind and code length.
#include "common/recording_frontend.h"
#include "fuzz_support.h"
#include "plc/files/configuration_file.h"
#include "plc/files/module_file.h"
#include "plc/files/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static fuzz::ScratchFolder scratch;
    FuzzedDataProvider input(data, size);
    const auto variant = input.ConsumeIntegral<std::uint8_t>();
    const auto project = scratch.write("p.pr", input.ConsumeRandomLengthString(4000));
    const auto configuration = scratch.write("p.kb", input.ConsumeRandomLengthString(1000));
    const auto module = scratch.write("m.ob", input.ConsumeRemainingBytesAsString());

    if (auto lines = plc::ReadProjectFile(project)) {
        for (const auto& line : *lines)
            plc::FormatProjectLine(line.number, line.kindLetter, line.fileName);
    }
    common::RecordingFrontend frontend;
    plc::ConfigurationBlock block{};
    if (plc::ReadConfigurationFile(configuration, block, frontend) == 0) {
        plc::ConfigurationSum(block);
        plc::ConfigurationTitle(block);
    }
    plc::ModuleImage image;
    plc::ReadModuleFile(module, variant, image);
    return 0;
}
