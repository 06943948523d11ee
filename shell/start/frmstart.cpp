#include "start/frmstart.h"

#include "start/Ending.h"
#include "start/Layout.h"

namespace zifferix {
namespace {

using forms::Label;
using forms::OptionButton;

// One row per game option, top to bottom; the option's and its points label's top in Frame1.
struct GameChoice {
    OptionButton frmstart::*option;
    Label frmstart::*points;
    const char* caption;
    const char* tooltip;
    Game opens; // the row begins with its first game
    bool row;
    int optionTop;
    int pointsTop;
};

constexpr GameChoice kGames[] = {
    {&frmstart::opt1, &frmstart::lblPunkte1, "die Zeit läuft", "kleines 1x1", Game::Uhr, false, 375,
     420},
    {&frmstart::opt2, &frmstart::lblPunkte2, "den Berg hinauf", "Längenmaße", Game::Berg, false,
     930, 1050},
    {&frmstart::opt3, &frmstart::lblPunkte3, "ein Glas füllen", "Bruchteile", Game::Bruchteile,
     false, 1620, 1717},
    {&frmstart::opt4, &frmstart::lblPunkte4, "gegen die Spinne", "Großes 1x1", Game::Netz, false,
     2295, 2347},
    {&frmstart::opt5, &frmstart::lblPunkte5, "die Waage halten", "Addition/Subtraktion",
     Game::Waage, false, 2865, 2947},
    {&frmstart::opt6, &frmstart::lblPunkte6, "Ballonfahrt", "Massenmaße", Game::Ballon, false, 3495,
     3592},
    {&frmstart::opt8, &frmstart::lblPunkte8, "fliegende Zahlen", "Addition/Subtraktion",
     Game::Wander, false, 4155, 4185},
    {&frmstart::opt10, &frmstart::lblPunkte10, "das Spiel", "Alles hintereinander", kRow.front(),
     true, 4680, 4762},
};

struct DifficultyChoice {
    OptionButton frmstart::*option;
    const char* caption;
    int level;
    int top;
};

constexpr DifficultyChoice kDifficulties[] = {
    {&frmstart::optEinfach, "leicht", difficulty::Leicht, 345},
    {&frmstart::optMittel, "normal", difficulty::Normal, 877},
    {&frmstart::optSchwer, "voll schwer", difficulty::VollSchwer, 1470},
};

// The names that links and the command line choose by are those of these two tables, in order.
constexpr bool captionsAgree() {
    static_assert(std::size(kGames) == kGameNames.size());
    static_assert(std::size(kDifficulties) == kLevelNames.size());
    for (std::size_t i = 0; i < kGameNames.size(); ++i) {
        if (kGameNames[i].caption != kGames[i].caption) {
            return false;
        }
        // The games come in the order of their enumeration, which captionOf relies on.
        if (i < kGameCount && kGames[i].opens != static_cast<Game>(i)) {
            return false;
        }
    }
    for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
        if (kLevelNames[i].caption != kDifficulties[i].caption ||
            kDifficulties[i].level != static_cast<int>(i) + 1) {
            return false;
        }
    }
    return true;
}
static_assert(captionsAgree(), "the names table follows the start screen's games and levels");

constexpr forms::Color kTeal = 0x808000;
constexpr forms::Color kDarkRed = 0x000080;
constexpr forms::Color kSilver = 0xC0C0C0;
constexpr forms::Color kBrick = 0x0040C0;

const forms::Font kBold12{"MS Sans Serif", 12, true};
const forms::Font kButtonFont{"MS Sans Serif", 13.5, false};

// The design values that the small layout moves and Grundstellung puts back.
struct Place {
    int left;
    int top;
};
constexpr forms::Placement kImage1{1485, 945, 11490, 2790};
constexpr Place kAutor{1500, 4005};
constexpr Place kFrame1{5332, 3855};
constexpr Place kFrame2{1500, 5385};
constexpr Place kEnde{1500, 8400};
constexpr Place kAnfang{11160, 8490};

} // namespace

frmstart::frmstart(Zifferix& program)
    : Form(program.runtime(), "frmstart"), program_(program), shared_(program.shared()) {
    Caption = "Zifferix 1";
    BackColor = kTeal;
    for (forms::Control* c : controls()) {
        c->Font = kBold12;
        c->BackColor = kTeal;
    }

    Image1.Move(kImage1);
    Image1.Picture = {"welcome.html", kImage1.Width, kImage1.Height};

    lblAutor.Move(kAutor.left, kAutor.top, 1545, 600);
    lblAutor.Font = forms::Font{};
    lblAutor.Caption = "Zifferix – Kopfrechnen für die Schule";
    lblAutor.ToolTipText = "Programmierer";

    Frame1.Move(kFrame1.left, kFrame1.top, 4305, 5910);
    Frame1.Caption = "Spielauswahl                   Punkte";
    Frame1.ForeColor = kDarkRed;
    for (const GameChoice& game : kGames) {
        OptionButton& option = this->*game.option;
        option.Move(240, game.optionTop, 3120, 420);
        option.Caption = game.caption;
        option.ToolTipText = game.tooltip;
        option.onClick = [this] {
            cmdAnfang.SetFocus();
            describeChoices();
        };
        Label& points = this->*game.points;
        points.Move(3450, game.pointsTop, 135, 300);
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

    Frame2.Move(kFrame2.left, kFrame2.top, 2310, 1980);
    Frame2.Caption = "Schwierigkeit";
    Frame2.ForeColor = kDarkRed;
    for (const DifficultyChoice& choice : kDifficulties) {
        OptionButton& option = this->*choice.option;
        option.Move(255, choice.top, 1935, 420);
        option.Caption = choice.caption;
        option.ForeColor = difficulty::color(choice.level);
        option.onClick = [this, level = choice.level] {
            shared_.Schwierigkeit = static_cast<Integer>(level);
            describeChoices();
        };
    }

    cmdAnfang.Move(kAnfang.left, kAnfang.top, 2310, 1290);
    cmdAnfang.Caption = "&Los und hopp";
    cmdAnfang.ToolTipText = "Startet das Programm";
    cmdAnfang.onClick = [this] { cmdAnfang_Click(); };
    cmdEnde.Move(kEnde.left, kEnde.top, 2310, 1290);
    cmdEnde.Caption = "&Aus und Schluss";
    cmdEnde.ToolTipText = "Ende und aus";
    cmdEnde.onClick = [this] { cmdEnde_Click(); };
    for (forms::CommandButton* button : {&cmdAnfang, &cmdEnde}) {
        button->Graphical = true;
        button->BackColor = kBrick;
        button->Font = kButtonFont;
    }

    // The start button comes first, so a child who has chosen presses Enter; then the games,
    // the difficulty and the exit.
    int tab = 0;
    cmdAnfang.TabIndex = tab++;
    for (const GameChoice& game : kGames) {
        (this->*game.option).TabIndex = tab++;
    }
    for (const DifficultyChoice& choice : kDifficulties) {
        (this->*choice.option).TabIndex = tab++;
    }
    cmdEnde.TabIndex = tab;
}

void frmstart::Form_Activate() {
    LayoutVerkleinern();
    shared_.Schwierigkeit = 0;

    double total = 0;
    for (const GameChoice& game : kGames) {
        total += forms::Val((this->*game.points).Caption);
    }
    lblGesamt.Caption = forms::CStr(total);
    describeChoices();
}

// "gegen die Spinne, 45 Punkte, voll schwer" for a game won at voll schwer, and for the start
// button "gegen die Spinne, leicht": arrowing through the games moves the focus to the start
// button, so it says what it would start.
void frmstart::describeChoices() {
    std::string game = "noch kein Spiel gewählt";
    for (const GameChoice& choice : kGames) {
        OptionButton& option = this->*choice.option;
        const Label& points = this->*choice.points;
        option.AccessibleName = std::string(choice.caption) + ", " + points.Caption + " Punkte";
        for (const DifficultyChoice& level : kDifficulties) {
            if (points.ForeColor == difficulty::color(level.level)) {
                option.AccessibleName += ", " + std::string(level.caption);
            }
        }
        option.AccessibleDescription = choice.tooltip;
        if (option.Value()) {
            game = choice.caption;
        }
    }
    std::string level = "noch keine Schwierigkeit gewählt";
    for (const DifficultyChoice& choice : kDifficulties) {
        if ((this->*choice.option).Value()) {
            level = choice.caption;
        }
    }
    cmdAnfang.AccessibleDescription = game + ", " + level;
}

// Turned round or resized while waiting for the child's choice: the screen takes the layout
// that now suits it best, and the choice stays.
void frmstart::Form_Resize() {
    Grundstellung();
    LayoutVerkleinern();
}

void frmstart::LayoutVerkleinern() {
    using namespace layout;
    if (!isSmall(ScreenWidth())) {
        return;
    }
    Image1.Left = twips(Image1.Left * kX - 100);
    Image1.Top = twips(Image1.Top * kY - 400);
    Image1.Height = scaleY(Image1.Height);
    Image1.Width = scaleX(Image1.Width);
    lblAutor.Left = twips(lblAutor.Left * kX - 100);
    lblAutor.Top = twips(lblAutor.Top * kY - 500);
    Frame1.Left = twips(Frame1.Left * kX - 100);
    Frame1.Top = twips(Frame1.Top * kY - 900);
    Frame2.Left = twips(Frame2.Left * kX - 100);
    Frame2.Top = twips(Frame2.Top * kY - 500);
    cmdEnde.Left = twips(cmdEnde.Left * kX - 100);
    cmdEnde.Top = twips(cmdEnde.Top * kY + 200);
    cmdAnfang.Left = twips(cmdAnfang.Left * kX + 300);
    cmdAnfang.Top = twips(cmdAnfang.Top * kY + 150);
}

void frmstart::cmdAnfang_Click() {
    shared_.Punkte = 0;
    shared_.GesamtPunkte = 0;
    if (shared_.Schwierigkeit == 0) {
        MsgBox("Du hast keinen Schwierigkeitsgrad gewählt!", 288, "Fehler");
        return;
    }
    for (const GameChoice& game : kGames) {
        OptionButton& option = this->*game.option;
        if (!option.Value()) {
            continue;
        }
        option.setValue(false);
        startGame(game.opens, game.row);
        return;
    }
    MsgBox("Welches Spiel darf's denn sein?", 288, "Was soll ich machen?");
}

void frmstart::startGame(Game game, bool row) {
    shared_.AllesHintereinander = row ? 1 : 0;
    Grundstellung();
    program_.screen(game).Show([this] { clearDifficulty(); });
}

void frmstart::choose(const Choice& choice) {
    if (choice.game) {
        (this->*kGames[*choice.game].option).setValue(true);
    }
    if (choice.level) {
        OptionButton& option = this->*kDifficulties[*choice.level].option;
        option.setValue(true);
        option.onClick();
    }
    cmdAnfang.SetFocus();
    describeChoices();
}

void frmstart::clearDifficulty() {
    for (const DifficultyChoice& choice : kDifficulties) {
        (this->*choice.option).setValue(false);
    }
    describeChoices();
}

void frmstart::clearChoice(Game game) {
    for (const GameChoice& choice : kGames) {
        if (choice.opens == game && !choice.row) {
            (this->*choice.option).setValue(false);
        }
    }
}

void frmstart::recordWin(Game game, Integer score, int level) {
    for (const GameChoice& choice : kGames) {
        if (choice.opens == game && !choice.row) {
            colourOption(this->*choice.option, level);
            keepBestScore(this->*choice.points, score, level);
        }
    }
}

void frmstart::recordRowWin(Integer total, int level) {
    colourOption(opt10, level);
    keepBestScore(lblPunkte10, total, level);
}

bool frmstart::holdsPoints() const {
    for (const GameChoice& game : kGames) {
        if (forms::Val((this->*game.points).Caption) != 0) {
            return true;
        }
    }
    return false;
}

void frmstart::cmdEnde_Click() {
    End();
}

void frmstart::Grundstellung() {
    // The small layout puts the exit button below 1400; the design has it at 1500.
    if (cmdEnde.Left > 1400) {
        return;
    }
    Image1.Move(kImage1);
    lblAutor.Left = kAutor.left;
    lblAutor.Top = kAutor.top;
    Frame1.Left = kFrame1.left;
    Frame1.Top = kFrame1.top;
    Frame2.Left = kFrame2.left;
    Frame2.Top = kFrame2.top;
    cmdEnde.Left = kEnde.left;
    cmdEnde.Top = kEnde.top;
    cmdAnfang.Left = kAnfang.left;
    cmdAnfang.Top = kAnfang.top;
}

} // namespace zifferix
