#pragma once
// The plan of a download, made after the PLC directory was read and every check on the PC
// passed, before anything that changes the PLC is sent: what is deleted, whether the
// configuration block is replaced, what is written, and the exchanges the download makes,
// from which its time follows by the protocol's rules (protocol_time.h).
#include <cstdint>
#include <string>
#include <vector>

#include "plc/files/configuration_file.h"
#include "plc/files/module_file.h"
#include "plc/files/project_file.h"
#include "plc/plc_state.h"
#include "plc/transfer/protocol_time.h"

namespace plc {

struct PlannedDeletion {
    std::uint8_t number = 0;
    std::string name;
    std::uint8_t kind = 0;
    std::uint16_t size = 0;  // code bytes, without the sum
};

struct PlannedWrite {
    std::string fileName;
    std::string name;
    std::uint8_t number = 0;  // the number requested; 0 lets the PLC choose
    std::uint8_t kind = 0;
    std::uint16_t size = 0;  // code bytes written, the 2-byte sum included
};

struct DownloadPlan {
    std::vector<PlannedDeletion> deletions;
    bool configurationReplaced = false;     // written when the technician says Yes
    bool configurationNeedsMaster = false;  // skipped: "ERROR_FW_VERSION,MASTER"
    std::string oldTitle;
    std::string newTitle;
    std::vector<PlannedWrite> writes;
    // Every exchange from the directory read to the start command, in order.
    std::vector<timing::Exchange> exchanges;
};

// The number the download requests for a module of this name, and whether it first
// deletes the PLC's module of that name again (its table entry has another number).
std::uint8_t RequestedNumber(const ModuleRecord& record, const std::string& name,
                             const ModuleTable& table, bool& deleteFirst);

// The exchanges of the directory read that left this state (identified says whether the
// identification had been made before it).
std::vector<timing::Exchange> DirectoryReadExchanges(const PlcState& state, bool identifiedBefore);

// The plan for the project's records on the PLC as read. modules holds the prepared module
// images in list order (configuration entries left out); configurationAllowed is false when
// the PLC's firmware can't take the block ("ERROR_FW_VERSION,MASTER").
DownloadPlan MakeDownloadPlan(const PlcState& state, bool identifiedBefore,
                              const std::vector<ModuleRecord>& records,
                              const std::vector<const ModuleImage*>& modules,
                              const ConfigurationBlock& work, bool configurationAllowed);

// The plan as quarnctl prints it, the time at the speed included.
std::string FormatDownloadPlan(const DownloadPlan& plan, int baud);

}  // namespace plc
