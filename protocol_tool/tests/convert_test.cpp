// The conversion and the translation as file operations: what they write, what they show,
// and what happens when a file can't be read or written.
#include <gtest/gtest.h>

#include "common/recording_frontend.h"
#include "protocol_tool/core/convert_to_xls.h"
#include "protocol_tool/core/cyrillic_rtf.h"
#include "protocol_tool/core/spreadsheet_text.h"
#include "sample_lines.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

using protocol::ConvertResult;
using protocol::TranslateResult;

namespace {
struct Convert : protocol_test::TempFolder {
    common::RecordingFrontend frontend;
    protocol::StatusLine status{frontend};
};
}  // namespace

TEST_F(Convert, WritesTheSpreadsheetAndWithTranslateTheRtfBesideTheProtocol) {
    const auto pro = dir / "may.2008.pro";
    Write(pro, protocol_test::SampleBytes());
    Write(dir / "may.2008.xls", "an older, longer spreadsheet text than the new one will be...");
    auto outcome = protocol::ConvertToXls(pro, true, status, frontend);
    EXPECT_EQ(outcome.spreadsheet, ConvertResult::Converted);
    ASSERT_TRUE(outcome.rtf.has_value());
    EXPECT_EQ(*outcome.rtf, TranslateResult::Written);
    EXPECT_EQ(Read(dir / "may.2008.xls"), protocol::SpreadsheetText(protocol_test::SampleBytes()));
    EXPECT_EQ(Read(dir / "may.2008.rtf"), protocol::CyrillicRtf(protocol_test::SampleBytes()));
    EXPECT_EQ(frontend.calls(),
              (std::vector<std::string>{"status: Convert to " + (dir / "may.2008.xls").string(),
                                        "status: Convert ready"}));
    EXPECT_EQ(EntryCount(), 3u);  // no temporary file left
}

TEST_F(Convert, AnEmptyProtocolGivesTheHeaderAndConvertReady) {
    Write(dir / "empty.pro", "");
    auto outcome = protocol::ConvertToXls(dir / "empty.pro", false, status, frontend);
    EXPECT_EQ(outcome.spreadsheet, ConvertResult::Converted);
    EXPECT_FALSE(outcome.rtf.has_value());
    EXPECT_EQ(Read(dir / "empty.xls"), protocol::kSpreadsheetHeader);
    EXPECT_EQ(status.Text(), "Convert ready");
    EXPECT_FALSE(fs::exists(dir / "empty.rtf"));
}

TEST_F(Convert, AnUnreadableProtocolDoesNothingAtAll) {
    auto outcome = protocol::ConvertToXls(dir / "missing.pro", true, status, frontend);
    EXPECT_EQ(outcome.spreadsheet, ConvertResult::ProtocolUnreadable);
    EXPECT_FALSE(outcome.rtf.has_value());
    fs::create_directory(dir / "folder.pro");
    outcome = protocol::ConvertToXls(dir / "folder.pro", true, status, frontend);
    EXPECT_EQ(outcome.spreadsheet, ConvertResult::ProtocolUnreadable);
    EXPECT_TRUE(frontend.calls().empty());
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(Convert, ASpreadsheetThatCantBeCreatedStillGetsItsRtf) {
    Write(dir / "may.pro", "Coming 1\nx\ny\nz\n");
    fs::create_directory(dir / "may.xls");  // in the way of the destination
    auto outcome = protocol::ConvertToXls(dir / "may.pro", true, status, frontend);
    EXPECT_EQ(outcome.spreadsheet, ConvertResult::SpreadsheetNotCreated);
    ASSERT_TRUE(outcome.rtf.has_value());
    EXPECT_EQ(*outcome.rtf, TranslateResult::Written);
    EXPECT_EQ(status.Text(), "Convert to " + (dir / "may.xls").string());
    EXPECT_TRUE(frontend.texts("message").empty());
    EXPECT_TRUE(fs::exists(dir / "may.rtf"));
}

TEST_F(Convert, AnRtfThatCantBeCreatedIsReported) {
    Write(dir / "may.pro", "abc\n");
    fs::create_directory(dir / "may.rtf");
    EXPECT_EQ(protocol::TranslateToCyrillic(dir / "may.pro", frontend),
              TranslateResult::RtfNotCreated);
    EXPECT_EQ(frontend.texts("message"),
              std::vector<std::string>{"Can not open the cyrillix destination file"});
    // No protocol: nothing shown.
    frontend.clear();
    EXPECT_EQ(protocol::TranslateToCyrillic(dir / "none.pro", frontend),
              TranslateResult::ProtocolUnreadable);
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(Convert, WritingThroughASymbolicLinkReplacesTheFileItPointsTo) {
    Write(dir / "may.pro", "abc\n");
    fs::create_directory(dir / "store");
    Write(dir / "store" / "real.rtf", "old");
    fs::create_symlink(dir / "store" / "real.rtf", dir / "may.rtf");
    EXPECT_EQ(protocol::TranslateToCyrillic(dir / "may.pro", frontend), TranslateResult::Written);
    EXPECT_TRUE(fs::is_symlink(dir / "may.rtf"));
    EXPECT_EQ(Read(dir / "store" / "real.rtf"), protocol::CyrillicRtf("abc\n"));
}
