#include "start/frmstart.h"

#include "forms/Caption.h"
#include "start/Ending.h"

namespace zifferix {
namespace {

using forms::Label;
using forms::OptionButton;

// A line of the table of games, top to bottom: its option and its points label, and their tops
// in Frame1. A line for every game in the order of the table of games, then the row's.
struct TableLine {
    OptionButton frmstart::*option;
    Label frmstart::*points;
    int optionTop;
    int pointsTop;
};

constexpr TableLine kLines[] = {
    {&frmstart::opt1, &frmstart::lblPunkte1, 375, 420},
    {&frmstart::opt2, &frmstart::lblPunkte2, 930, 1050},
    {&frmstart::opt3, &frmstart::lblPunkte3, 1620, 1717},
    {&frmstart::opt4, &frmstart::lblPunkte4, 2295, 2347},
    {&frmstart::opt5, &frmstart::lblPunkte5, 2865, 2947},
    {&frmstart::opt6, &frmstart::lblPunkte6, 3495, 3592},
    {&frmstart::opt8, &frmstart::lblPunkte8, 4155, 4185},
    {&frmstart::opt10, &frmstart::lblPunkte10, 4680, 4762},
};
static_assert(std::size(kLines) == kGameNames.size(), "a line for every game and the row");

constexpr bool isRow(std::size_t line) {
    return line == kRowChoice;
}
constexpr std::string_view topicOf(std::size_t line) {
    return isRow(line) ? kRowInfo.topic : kGames[line].topic;
}
// The game a line starts: the row begins with its first game.
constexpr Game opens(std::size_t line) {
    return isRow(line) ? kRow.front() : kGames[line].id;
}

// The difficulty buttons, leicht to voll schwer, and their tops in Frame2.
constexpr OptionButton frmstart::*kLevelOptions[] = {&frmstart::optEinfach, &frmstart::optMittel,
                                                     &frmstart::optSchwer};
constexpr int kLevelTops[] = {345, 877, 1470};
static_assert(std::size(kLevelOptions) == kLevelNames.size());
constexpr int levelOf(std::size_t i) {
    return static_cast<int>(i) + 1;
}

constexpr forms::Color kTeal = 0x808000;
constexpr forms::Color kDarkRed = 0x000080;
constexpr forms::Color kSilver = 0xC0C0C0;
constexpr forms::Color kBrick = 0x0040C0;

const forms::Font kBold12{"MS Sans Serif", 12, true};
const forms::Font kButtonFont{"MS Sans Serif", 13.5, false};

// The controls the small layout moves: everything moves up and to the left, the start button
// to the right.
ScreenLayout layoutOf(frmstart& f) {
    using layout::shrunk;
    constexpr forms::Placement kImage1{1485, 945, 11490, 2790};
    constexpr forms::Placement kAutor{1500, 4005, 1545, 600};
    constexpr forms::Placement kFrame1{5332, 3855, 4305, 5910};
    constexpr forms::Placement kFrame2{1500, 5385, 2310, 1980};
    constexpr forms::Placement kEnde{1500, 8400, 2310, 1290};
    constexpr forms::Placement kAnfang{11160, 8490, 2310, 1290};
    constexpr forms::Placement kKind{9900, 6500, 5000, 700};
    constexpr forms::Placement kNichtDu{11160, 7300, 2310, 600};
    return ScreenLayout({
        {f.Image1, kImage1, shrunk(kImage1, {.dx = -100, .dy = -400})},
        {f.lblAutor, kAutor, shrunk(kAutor, {.size = false, .dx = -100, .dy = -500})},
        {f.Frame1, kFrame1, shrunk(kFrame1, {.size = false, .dx = -100, .dy = -900})},
        {f.Frame2, kFrame2, shrunk(kFrame2, {.size = false, .dx = -100, .dy = -500})},
        {f.cmdEnde, kEnde, shrunk(kEnde, {.size = false, .dx = -100, .dy = 200})},
        {f.cmdAnfang, kAnfang, shrunk(kAnfang, {.size = false, .dx = 300, .dy = 150})},
        {f.lblKind, kKind, {8450, 4700, 3500, 700}},
        {f.cmdNichtDu, kNichtDu, shrunk(kNichtDu, {.size = false, .dx = 300, .dy = -150})},
    });
}

} // namespace

frmstart::frmstart(Zifferix& program)
    : Form(program.runtime(), "frmstart"), layout_(layoutOf(*this)), program_(program),
      shared_(program.shared()) {
    dress();
    wire();
    orderTabs();
}

// Captions, fonts, colours, and the places the layout does not move.
void frmstart::dress() {
    Caption = "Zifferix 1";
    BackColor = kTeal;
    for (forms::Control* c : controls()) {
        c->Font = kBold12;
        c->BackColor = kTeal;
    }

    Image1.Picture = {"welcome.html", Image1.Width, Image1.Height};
    lblAutor.Font = forms::Font{};
    lblAutor.Caption = "Zifferix – Kopfrechnen für die Schule";
    lblAutor.ToolTipText = "Programmierer";

    Frame1.Caption = "Spielauswahl                   Punkte";
    Frame1.ForeColor = kDarkRed;
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        OptionButton& option = this->*kLines[i].option;
        option.Move(240, kLines[i].optionTop, 3120, 420);
        option.Caption = std::string(kGameNames[i].caption);
        option.ToolTipText = std::string(topicOf(i));
        Label& points = this->*kLines[i].points;
        points.Move(3450, kLines[i].pointsTop, 135, 300);
        points.Caption = "0";
        points.Transparent = true;
        points.Alignment = forms::TextAlign::Right;
        points.AutoSize = true;
    }
    Label1.Move(585, 5310, 2655, 375);
    Label1.Caption = "Gesamtpunkte:";
    Label1.Transparent = true;
    Label1.ForeColor = kSilver;
    lblGesamt.Move(3435, 5310, 135, 300);
    lblGesamt.Caption = "0";
    lblGesamt.Transparent = true;
    lblGesamt.ForeColor = kSilver;
    lblGesamt.Alignment = forms::TextAlign::Center;
    lblGesamt.AutoSize = true;

    Frame2.Caption = "Schwierigkeit";
    Frame2.ForeColor = kDarkRed;
    for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
        OptionButton& option = this->*kLevelOptions[i];
        option.Move(255, kLevelTops[i], 1935, 420);
        option.Caption = std::string(kLevelNames[i].caption);
        option.ForeColor = difficulty::color(levelOf(i));
    }

    cmdAnfang.Caption = "&Los und hopp";
    cmdAnfang.ToolTipText = "Startet das Programm";
    cmdEnde.Caption = "&Aus und Schluss";
    cmdEnde.ToolTipText = "Ende und aus";
    for (forms::CommandButton* button : {&cmdAnfang, &cmdEnde}) {
        button->Graphical = true;
        button->BackColor = kBrick;
        button->Font = kButtonFont;
    }

    lblKind.Alignment = forms::TextAlign::Center;
    lblKind.Transparent = true;
    lblKind.ForeColor = forms::colors::White;
    cmdNichtDu.Caption = "&Nicht du?";
    cmdNichtDu.ToolTipText = "Einen anderen Namen wählen";
    cmdNichtDu.Graphical = true;
    cmdNichtDu.BackColor = kBrick;
    lblKind.Visible = false; // until a class is joined
    cmdNichtDu.Visible = false;
}

void frmstart::wire() {
    for (const TableLine& line : kLines) {
        (this->*line.option).onClick = [this] {
            cmdAnfang.SetFocus();
            describeChoices();
        };
    }
    for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
        (this->*kLevelOptions[i]).onClick = [this, level = levelOf(i)] {
            shared_.Schwierigkeit = static_cast<Integer>(level);
            describeChoices();
        };
    }
    cmdAnfang.onClick = [this] { cmdAnfang_Click(); };
    cmdEnde.onClick = [this] { cmdEnde_Click(); };
    cmdNichtDu.onClick = [this] { program_.askName(); };
}

// The start button comes first, so a child who has chosen presses Enter; then the games, the
// difficulty and the exit.
void frmstart::orderTabs() {
    int tab = 0;
    cmdAnfang.TabIndex = tab++;
    for (const TableLine& line : kLines) {
        (this->*line.option).TabIndex = tab++;
    }
    for (OptionButton frmstart::*option : kLevelOptions) {
        (this->*option).TabIndex = tab++;
    }
    cmdEnde.TabIndex = tab++;
    cmdNichtDu.TabIndex = tab;
}

std::string frmstart::Spoken() const {
    std::string text = Form::Spoken();
    if (ActiveControl() != &cmdAnfang) {
        text += " " + forms::readCaption(cmdAnfang.Caption).text + ": " +
                cmdAnfang.AccessibleDescription + ".";
    }
    return text;
}

void frmstart::Form_Activate() {
    layout_.fit(ScreenWidth());
    shared_.Schwierigkeit = 0;

    double total = 0;
    for (const TableLine& line : kLines) {
        total += forms::Val((this->*line.points).Caption);
    }
    lblGesamt.Caption = forms::CStr(total);
    showChild();
    describeChoices();
    // A link chose while the name was asked.
    if (const std::optional<Choice> choice = program_.takeChoice()) {
        choose(*choice);
    }
}

void frmstart::showChild() {
    lblKind.Visible = program_.inClass();
    cmdNichtDu.Visible = program_.inClass();
    lblKind.Caption = program_.child().empty() ? "" : "Hallo " + program_.child() + "!";
    lblKind.ToolTipText = program_.className();
}

// "gegen die Spinne, 45 Punkte, voll schwer" for a game won at voll schwer, and for the start
// button "gegen die Spinne, leicht": arrowing through the games moves the focus to the start
// button, so it says what it would start.
void frmstart::describeChoices() {
    std::string game = "noch kein Spiel gewählt";
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        OptionButton& option = this->*kLines[i].option;
        const Label& points = this->*kLines[i].points;
        const std::string caption(kGameNames[i].caption);
        option.AccessibleName = caption + ", " + points.Caption + " Punkte";
        for (std::size_t level = 0; level < kLevelNames.size(); ++level) {
            if (points.ForeColor == difficulty::color(levelOf(level))) {
                option.AccessibleName += ", " + std::string(kLevelNames[level].caption);
            }
        }
        option.AccessibleDescription = topicOf(i);
        if (option.Value()) {
            game = caption;
        }
    }
    std::string level = "noch keine Schwierigkeit gewählt";
    for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
        if ((this->*kLevelOptions[i]).Value()) {
            level = kLevelNames[i].caption;
        }
    }
    cmdAnfang.AccessibleDescription = game + ", " + level;
}

// Turned round or resized while waiting for the child's choice: the screen takes the layout
// that now suits it best, and the choice stays.
void frmstart::Form_Resize() {
    layout_.fit(ScreenWidth());
}

void frmstart::cmdAnfang_Click() {
    shared_.Punkte = 0;
    shared_.GesamtPunkte = 0;
    if (shared_.Schwierigkeit == 0) {
        MsgBox("Du hast keinen Schwierigkeitsgrad gewählt!", 288, "Fehler");
        return;
    }
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        OptionButton& option = this->*kLines[i].option;
        if (!option.Value()) {
            continue;
        }
        option.setValue(false);
        startGame(opens(i), isRow(i));
        return;
    }
    MsgBox("Welches Spiel darf's denn sein?", 288, "Was soll ich machen?");
}

void frmstart::startGame(Game game, bool row) {
    shared_.AllesHintereinander = row ? 1 : 0;
    Grundstellung();
    program_.showGame(game, [this] { clearDifficulty(); });
}

void frmstart::choose(const Choice& choice) {
    if (choice.game) {
        (this->*kLines[*choice.game].option).setValue(true);
    }
    if (choice.level) {
        OptionButton& option = this->*kLevelOptions[*choice.level];
        option.setValue(true);
        option.onClick();
    }
    cmdAnfang.SetFocus();
    describeChoices();
}

void frmstart::clearDifficulty() {
    for (OptionButton frmstart::*option : kLevelOptions) {
        (this->*option).setValue(false);
    }
    describeChoices();
}

void frmstart::clearChoice(Game game) {
    (this->*kLines[static_cast<std::size_t>(game)].option).setValue(false);
}

void frmstart::recordWin(Game game, Integer score, int level) {
    const TableLine& line = kLines[static_cast<std::size_t>(game)];
    colourOption(this->*line.option, level);
    keepBestScore(this->*line.points, score, level);
}

void frmstart::recordRowWin(Integer total, int level) {
    const TableLine& line = kLines[kRowChoice];
    colourOption(this->*line.option, level);
    keepBestScore(this->*line.points, total, level);
}

bool frmstart::holdsPoints() const {
    for (const TableLine& line : kLines) {
        if (forms::Val((this->*line.points).Caption) != 0) {
            return true;
        }
    }
    return false;
}

void frmstart::cmdEnde_Click() {
    End();
}

void frmstart::Grundstellung() {
    layout_.restore();
}

} // namespace zifferix
