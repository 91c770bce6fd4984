#pragma once
// The display loop of "Show variables": reads one page of variables from the PLC per cycle,
// formats it and hands it to a viewer (the variables window, quarnctl's printer, a test),
// which draws it and delivers the technician's paging keys, until the viewer is closed.
//
// One cycle:
//   1. a TopIndex that holds no variable steps back to PreviousTopIndex;
//   2. the read list of the page from TopIndex (page_read_plan.h);
//   3. the page's symbol and operand texts, then one block read of the list and the value
//      texts (ReadAndFormatValues);
//   4. five times: wait 10 ms, let the viewer pump its input (Pump);
//   5. the viewer draws the page (Redraw).
// The loop ends after the cycle in which the viewer called Close. A communication failure
// ends it at once with CQuarnException.
#include <cstdint>
#include <filesystem>
#include <string>

#include "monitor/cell_walk.h"
#include "monitor/display_page.h"
#include "monitor/page_read_plan.h"
#include "monitor/paging.h"
#include "monitor/variable_list.h"
#include "plc/plc_programmer.h"

namespace monitor {

inline constexpr int kPumpsPerCycle = 5;
inline constexpr common::Millis kPumpPause{10};
inline constexpr const char* kShowVariablesStatus = "Show variables";
inline constexpr const char* kNavigationHint = "   Navigate with: Up,Dn,PgUp,PgDn";

class VariableDisplay;

// What the display loop calls while it runs. Both calls get the loop, so the viewer can
// page (PressKey) and end the display (Close) from its input handling.
class VariableViewer {
  public:
    virtual ~VariableViewer() = default;
    // Five times a cycle, after a 10 ms wait: handle the input that waits. A released paging
    // key goes to display.PressKey, closing the viewer to display.Close.
    virtual void Pump(VariableDisplay& display) = 0;
    // Once a cycle: draw this page now.
    virtual void Redraw(const DisplayPage& page, VariableDisplay& display) = 0;
};

enum class DisplayOutcome {
    kClosed,        // the viewer was closed; the status line is cleared
    kTypeNotFound,  // the symbol file named an unknown type; nothing was read
};

// The variables window's title: the symbol file's path and the navigation hint.
std::string VariablesWindowTitle(const std::string& symbolFilePath);

class VariableDisplay {
  public:
    explicit VariableDisplay(plc::CPlcProgrammer& programmer) : programmer_(programmer) {}

    // Reads the PLC directory (which refreshes the information block), shows "Show
    // variables", loads the symbol file and runs the loop until the viewer closes. Throws
    // CQuarnException when the PLC stops answering.
    DisplayOutcome RunVariableDisplay(const std::filesystem::path& symbolFile,
                                      VariableViewer& viewer);

    // The first page's TopIndex (and PreviousTopIndex); 0 unless set.
    void SetStartIndex(int index) { startIndex_ = index; }

    // For the viewer while the loop runs.
    void PressKey(PagingKey key) { position_.Press(key); }
    void Close() { running_ = false; }
    bool DisplayRunning() const { return running_; }

    const VariableList& Variables() const { return variables_; }
    const PagePosition& Position() const { return position_; }
    const DisplayPage& Page() const { return page_; }

    // One cycle without the pumps and the redraw: steps back past the end, builds the read
    // list, formats the texts and reads the values into Page(). Throws on a failed read.
    void BuildPage();
    // The block read of the page's list and its value texts; fills Page().
    void ReadAndFormatValues(const PageReadPlan& plan, const PageCells& cells,
                             DisplayPage& working);

  private:
    PlcReadSettings ReadSettings() const;

    plc::CPlcProgrammer& programmer_;
    VariableList variables_;
    PagePosition position_;
    DisplayPage page_;
    std::string receiveBuffer_;
    bool running_ = false;
    int startIndex_ = 0;
};

}  // namespace monitor
