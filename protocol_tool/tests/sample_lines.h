#pragma once
// The lines of samples/protocol/demo.pro as the test knows them, written out by hand: every
// line of the file ends with carriage return and line feed.
#include <string>
#include <vector>

namespace protocol_test {

inline const std::vector<std::string>& SampleLines() {
    // clang-format off
    static const std::vector<std::string> lines = {
        "PROTOKOLL TEXTMONITOR TM40",
        "Eintraege bis Nr. 0100",
        "",
        "On         0    12.03.08    06:00:01",
        "Netz ein",
        "",
        "----------------------------------------",
        "Coming     1    12.03.08    06:15:02",
        "Pumpe 1 Stoerung      ",
        "Motorschutz ausgeloest  ",
        "----------------------------------------",
        "Coming    17    12.03.08    06:20:45  Q",
        "\xb2" "AB\xb8" "EH\xb6" "E \xd2\xc6\xd5\xd0" "oe",
        "  \xb0" "a\xd0" " 2 \xc9" "yc\xd3\xde\xdf\xbe\xb6" "K",
        "----------------------------------------",
        "Going      1    12.03.08    06:47:40",
        "Pumpe 1 Stoerung",
        "Motorschutz ausgeloest",
        "----------------------------------------",
        "*** Puffer umgeschaltet ***",
        "Coming    23    12.03.08    07:02:13",
        "Tuer\toffen",
        "Luefter\x19\x19Halle 2\x19\x19",
        "----------------------------------------",
        "Going     17    12.03.08    07:30:00",
        "Ventil {V3}\\Stufe 2",
        "\x19" "Druck normal",
        "----------------------------------------",
        "Off        0    12.03.08    18:00:00",
        "Netz aus",
        "",
        "----------------------------------------",
        "On         0    13.03.08    05:59:58",
        "Netz ein",
        "",
        "----------------------------------------",
        "Going     23    13.03.08    06:05:31",
        "Tuer\toffen",
        "Luefter\x19\x19Halle 2",
        "----------------------------------------",
        "Off        0    13.03.08    17:45:12",
        "Netz aus",
        "Wartung",
        "----------------------------------------",
    };
    // clang-format on
    return lines;
}

inline std::string SampleBytes() {
    std::string bytes;
    for (const auto& line : SampleLines()) bytes += line + "\r\n";
    return bytes;
}

inline std::string SamplePath() {
    return std::string(SAMPLES_DIR) + "/demo.pro";
}

}  // namespace protocol_test
