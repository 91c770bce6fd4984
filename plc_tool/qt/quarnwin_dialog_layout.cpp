// The controls of the main dialog, placed as the dialog template lays them out in dialog
// units (264 x 160). A dialog unit is a quarter of the font's average character width across
// and an eighth of its height down, so the layout fits the font in use.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "plc_tool/qt/program_icon.h"
#include "plc_tool/qt/quarnwin_dialog.h"
#include "qt_shared/port_dialog.h"

namespace quarnwin {

namespace {

class DialogUnits {
  public:
    explicit DialogUnits(const QFontMetrics& metrics) {
        const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        // The average width of the letters, rounded as the dialog manager does.
        const int average = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
        across_ = average / 4.0;
        down_ = metrics.height() / 8.0;
    }
    // Widens the unit across where a caption would not fit its control: text and padding
    // pixels in `units` dialog units. Desktop fonts differ from the dialog manager's in the
    // shape of their letters, so the average alone can leave a caption cut at both ends.
    void Fit(const QFontMetrics& metrics, const QString& caption, int units, int padding) {
        int widest = 0;
        for (const QString& line : caption.split('\n'))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        across_ = std::max(across_, (widest + padding + 0.5) / units);
    }
    QRect operator()(int x, int y, int width, int height) const {
        return QRect(Across(x), Down(y), Across(width), Down(height));
    }

  private:
    int Across(int units) const { return static_cast<int>(std::lround(units * across_)); }
    int Down(int units) const { return static_cast<int>(std::lround(units * down_)); }
    double across_ = 1.5;
    double down_ = 1.625;
};

constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

template <typename Widget>
Widget* Place(Widget* widget, const char* name, QRect rect) {
    widget->setObjectName(name);
    widget->setGeometry(rect);
    return widget;
}

// Every caption with the width of its control in dialog units.
struct Caption {
    const char* text;
    int units;
};
constexpr Caption kButtonCaptions[] = {
    {"Reset", kButtonWidth},       {"Init EEPROM", kButtonWidth}, {"PC -> Quarn", kButtonWidth},
    {"Quarn -> PC", kButtonWidth}, {"Show Log", kButtonWidth},    {"Show variables", kButtonWidth}};
constexpr Caption kLabelCaptions[] = {{"Set Quarn at:", 55},
                                      {"8 data bits\n1 stop bit\neven parity", 64}};
constexpr Caption kGroupCaptions[] = {{"Control SPS", 77}, {"Down/Upload", 82}, {"Interface", 76}};
constexpr Caption kSpeedCaptions[] = {{"9600 Baud", 64}, {"19200 Baud", 64}};

DialogUnits FittedUnits(const QFontMetrics& metrics, const QStyle& style) {
    DialogUnits units(metrics);
    const int average = metrics.averageCharWidth();
    const int frame = style.pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int buttonPadding = 2 * (style.pixelMetric(QStyle::PM_ButtonMargin) + frame);
    const int comboPadding = style.pixelMetric(QStyle::PM_ScrollBarExtent) + 4 * frame + average;
    for (const Caption& c : kButtonCaptions) units.Fit(metrics, c.text, c.units, buttonPadding);
    for (const Caption& c : kLabelCaptions) units.Fit(metrics, c.text, c.units, average);
    for (const Caption& c : kGroupCaptions) units.Fit(metrics, c.text, c.units, 4 * average);
    for (const Caption& c : kSpeedCaptions) units.Fit(metrics, c.text, c.units, comboPadding);
    return units;
}

}  // namespace

void CQuarnWinDlg::BuildControls() {
    const DialogUnits Units = FittedUnits(fontMetrics(), *style());
    setFixedSize(Units(0, 0, 264, 160).size());
    setWindowIcon(ProgramIcon());

    // Group boxes first, so the controls inside lie above them.
    Place(new QGroupBox("Control SPS", this), "controlGroup", Units(7, 18, 77, 103));
    Place(new QGroupBox("Down/Upload", this), "transferGroup", Units(91, 18, 82, 103));
    Place(new QGroupBox("Interface", this), "interfaceGroup", Units(181, 18, 76, 103));

    auto button = [this, &Units](const char* caption, const char* name, int x, int y,
                                 auto handler) {
        auto* b =
            Place(new QPushButton(caption, this), name, Units(x, y, kButtonWidth, kButtonHeight));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    button("Reset", "reset", 20, 33, &CQuarnWinDlg::OnReset);
    button("Init EEPROM", "initEeprom", 20, 53, &CQuarnWinDlg::OnInitEeprom);
    button("PC -> Quarn", "download", 107, 33, &CQuarnWinDlg::OnDownload);
    button("Quarn -> PC", "upload", 107, 53, &CQuarnWinDlg::OnUpload);
    button("Show Log", "showLog", 107, 73, &CQuarnWinDlg::OnShowLog);
    button("Show variables", "showVariables", 107, 101, &CQuarnWinDlg::OnShowVariables);

    portField_ = Place(new QLabel(this), "port", Units(208, 34, 46, 9));
    Place(new QLabel("Set Quarn at:", this), "speedLabel", Units(198, 45, 55, 9));
    speed_ = Place(new QComboBox(this), "speed", Units(187, 55, 64, 13));
    speed_->addItems({"9600 Baud", "19200 Baud"});
    auto* line = Place(new QLabel("8 data bits\n1 stop bit\neven parity", this), "lineLabel",
                       Units(187, 72, 64, 27));
    line->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // How the port came when it is not the converter's ("given with --port").
    portOrigin_ = qtshared::MakePortOriginLabel(this);
    portOrigin_->setGeometry(Units(184, 100, 70, 18));
    portOrigin_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    portOrigin_->setWordWrap(true);

    status_ = Place(new StatusLine(this), "status", Units(7, 129, 250, 24));

    // The window menu's "Inf&o for Rilvo...", here in the dialog's context menu.
    auto* about = new QAction("Inf&o for Rilvo...", this);
    about->setObjectName("about");
    connect(about, &QAction::triggered, this, &CQuarnWinDlg::OnAbout);
    addAction(about);
    // Beside it, the two choices around a download, kept in the settings.
    auto choice = [this](const char* text, const char* name, bool QuarnWinSettings::*setting) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        action->setCheckable(true);
        connect(action, &QAction::toggled, this,
                [this, setting](bool on) { settings_.*setting = on; });
        addAction(action);
        return action;
    };
    backupBeforeDownload_ = choice("Back up the PLC before download", "backupBeforeDownload",
                                   &QuarnWinSettings::backupBeforeDownload);
    verifyAfterDownload_ = choice("Verify after download", "verifyAfterDownload",
                                  &QuarnWinSettings::verifyAfterDownload);
    connect(qtshared::AddPortAction(*this), &QAction::triggered, this, &CQuarnWinDlg::OnChoosePort);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace quarnwin
