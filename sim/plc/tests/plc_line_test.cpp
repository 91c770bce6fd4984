// Which lines the simulated PLC answers on: parity counts where the line shows it.
#include <gtest/gtest.h>

#include "sim/plc/plc_simulator.h"

TEST(PlcLine, EvenParityIsRequiredWhereTheLineShowsIt) {
    using sim::ParitySeen;
    EXPECT_TRUE(sim::PlcLineAccepted({9600, 8, 1, ParitySeen::Even}));
    EXPECT_TRUE(sim::PlcLineAccepted({19200, 8, 1, ParitySeen::NotVisible}));
    EXPECT_FALSE(sim::PlcLineAccepted({9600, 8, 1, ParitySeen::None}));
    EXPECT_FALSE(sim::PlcLineAccepted({9600, 8, 1, ParitySeen::Odd}));
    EXPECT_FALSE(sim::PlcLineAccepted({9600, 8, 2, ParitySeen::Even}));
    EXPECT_FALSE(sim::PlcLineAccepted({38400, 8, 1, ParitySeen::Even}));
}
