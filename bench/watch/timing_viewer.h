#pragma once
// A viewer of the variable display that keeps the time of each redraw and where the link's
// record of writes stood then; it closes the display after the pages asked for.
#include <chrono>
#include <cstddef>
#include <vector>

#include "link/serial_link.h"
#include "monitor/variable_display.h"

namespace bench {

struct TimingViewer final : monitor::VariableViewer {
    const serial::CSerialLink& link;
    int pages;
    std::vector<std::chrono::steady_clock::time_point> redraws;
    std::vector<std::size_t> recordSizes;

    TimingViewer(const serial::CSerialLink& l, int n) : link(l), pages(n) {}
    void Pump(monitor::VariableDisplay& display) override {
        if (static_cast<int>(redraws.size()) + 1 >= pages) display.Close();
    }
    void Redraw(const monitor::DisplayPage&, monitor::VariableDisplay&) override {
        redraws.push_back(std::chrono::steady_clock::now());
        recordSizes.push_back(link.TransmitRecord().size());
    }
};

}  // namespace bench
