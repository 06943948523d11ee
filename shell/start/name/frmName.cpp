#include "start/name/frmName.h"

#include "forms/Fitting.h"
#include "forms/KeyCodes.h"
#include "start/Layout.h"
#include "start/name/Names.h"

#include <algorithm>
#include <iterator>

namespace zifferix {
namespace {

// Where everything lies in a layout's area: the question and the class at the top, the names
// in a grid beneath them, the box for a typed name at the bottom (in the middle when the
// teacher listed no names).
struct Sizes {
    forms::LayoutArea area;
    int margin;
    int frageTop;
    int frageHeight;
    int klasseTop;
    int gridTop;
    int gridBottom; // from the bottom of the area
    int rowTop;     // of the box's row, from the bottom
    int rowHeight;
    int labelWidth;
    int boxWidth;
    int losWidth;
    int gap;
    double titleSize;
    double nameSize;
};

constexpr Sizes kNormal{.area = forms::kNormalArea,
                        .margin = 600,
                        .frageTop = 300,
                        .frageHeight = 800,
                        .klasseTop = 1100,
                        .gridTop = 1700,
                        .gridBottom = 2000,
                        .rowTop = 1500,
                        .rowHeight = 600,
                        .labelWidth = 4400,
                        .boxWidth = 5200,
                        .losWidth = 1800,
                        .gap = 200,
                        .titleSize = 24,
                        .nameSize = 12};
constexpr Sizes kSmall{.area = forms::kSmallArea,
                       .margin = 450,
                       .frageTop = 150,
                       .frageHeight = 600,
                       .klasseTop = 750,
                       .gridTop = 1150,
                       .gridBottom = 1050,
                       .rowTop = 850,
                       .rowHeight = 500,
                       .labelWidth = 3800,
                       .boxWidth = 4400,
                       .losWidth = 1500,
                       .gap = 150,
                       .titleSize = 20,
                       .nameSize = 10};

// Columns for as many names: few names get large buttons.
struct Grid {
    std::size_t names;
    std::size_t columns;
};
constexpr Grid kGrids[] = {{4, 2}, {9, 3}, {20, 4}, {35, 5}, {frmName::kMostNames, 6}};

constexpr std::size_t columnsFor(std::size_t names) {
    for (const Grid& g : kGrids) {
        if (names <= g.names) {
            return std::min(std::max<std::size_t>(names, 1), g.columns);
        }
    }
    return kGrids[std::size(kGrids) - 1].columns;
}

constexpr int kWidestName = 4000;
constexpr int kHighestName = 900;
constexpr int kNameGap = 120;

constexpr forms::Color kTeal = 0x808000;
constexpr forms::Color kBrick = 0x0040C0;

// A caption shows an "&" as itself, not as the mark of an Alt letter.
std::string asCaption(const std::string& name) {
    std::string caption;
    for (const char c : name) {
        caption += c;
        if (c == '&') {
            caption += '&';
        }
    }
    return caption;
}

} // namespace

frmName::frmName(Zifferix& program, std::string className, std::vector<std::string> children)
    : Form(program.runtime(), "frmName"), program_(program), children_(std::move(children)) {
    children_.resize(std::min(children_.size(), kMostNames));
    lblKlasse.Caption = std::move(className);
    for (std::size_t i = 0; i < children_.size(); ++i) {
        auto button =
            std::make_unique<forms::CommandButton>(*this, "cmdKind" + std::to_string(i + 1));
        button->Caption = asCaption(children_[i]);
        button->ToolTipText = children_[i];
        button->onClick = [this, i] { take(children_[i]); };
        cmdKind.push_back(std::move(button));
    }
    dress();
}

void frmName::dress() {
    Caption = "Wie heißt du?";
    BackColor = kTeal;
    lblFrage.Caption = "Wie heißt du?";
    lblFrage.Alignment = forms::TextAlign::Center;
    lblFrage.Transparent = true;
    lblFrage.ForeColor = forms::colors::White;
    lblKlasse.Alignment = forms::TextAlign::Center;
    lblKlasse.Transparent = true;
    lblKlasse.ForeColor = forms::colors::White;
    lblKlasse.Font = {"Arial", 10, false};
    lblName.Caption = cmdKind.empty() ? "Dein Vorname:" : "Oder schreib deinen Namen:";
    lblName.Alignment = forms::TextAlign::Right;
    lblName.Transparent = true;
    lblName.ForeColor = forms::colors::White;

    txtName.MaxLength = static_cast<int>(names::kLongestName);
    txtName.Entry = forms::TextEntry::Text;
    txtName.AccessibleName = "Dein Name";
    txtName.AccessibleDescription = "Vorname oder Spitzname, höchstens 24 Zeichen";
    txtName.onKeyPress = [this](int& KeyAscii) { txtName_KeyPress(KeyAscii); };
    cmdLos.Caption = "&Los";
    cmdLos.ToolTipText = "Mit diesem Namen spielen";
    cmdLos.Graphical = true;
    cmdLos.BackColor = kBrick;
    cmdLos.ForeColor = forms::colors::White;
    cmdLos.onClick = [this] { cmdLos_Click(); };

    // The names first, in the order of the list, then the box and its button.
    int tab = 0;
    for (const auto& button : cmdKind) {
        button->TabIndex = tab++;
    }
    txtName.TabIndex = tab++;
    cmdLos.TabIndex = tab;
}

void frmName::place() {
    const Sizes& s = layout::isSmall(ScreenWidth()) ? kSmall : kNormal;
    const int width = s.area.width;
    const int height = s.area.height;
    lblFrage.Move(s.margin, s.frageTop, width - 2 * s.margin, s.frageHeight);
    lblFrage.Font = {"Arial", s.titleSize, true};
    lblKlasse.Move(s.margin, s.klasseTop, width - 2 * s.margin, 400);

    const std::size_t columns = columnsFor(cmdKind.size());
    const std::size_t rows = (cmdKind.size() + columns - 1) / columns;
    const int cellWidth =
        std::min((width - 2 * s.margin) / static_cast<int>(columns), kWidestName + kNameGap);
    const int gridHeight = height - s.gridBottom - s.gridTop;
    const int cellHeight =
        rows == 0 ? 0 : std::min(gridHeight / static_cast<int>(rows), kHighestName + kNameGap);
    const int gridLeft = (width - cellWidth * static_cast<int>(columns)) / 2;
    for (std::size_t i = 0; i < cmdKind.size(); ++i) {
        forms::CommandButton& button = *cmdKind[i];
        button.Move(gridLeft + static_cast<int>(i % columns) * cellWidth,
                    s.gridTop + static_cast<int>(i / columns) * cellHeight, cellWidth - kNameGap,
                    cellHeight - kNameGap);
        button.Font = {"MS Sans Serif", s.nameSize, true};
    }

    const int rowTop = cmdKind.empty() ? (height - s.rowHeight) / 2 : height - s.rowTop;
    int left = (width - s.labelWidth - s.boxWidth - s.losWidth - 2 * s.gap) / 2;
    lblName.Move(left, rowTop + s.rowHeight / 6, s.labelWidth, s.rowHeight);
    left += s.labelWidth + s.gap;
    txtName.Move(left, rowTop, s.boxWidth, s.rowHeight);
    left += s.boxWidth + s.gap;
    cmdLos.Move(left, rowTop, s.losWidth, s.rowHeight);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&lblName, &txtName, &cmdLos}) {
        c->Font = {"MS Sans Serif", s.nameSize, true};
    }
}

void frmName::Form_Activate() {
    place();
    txtName.Text.clear();
    Announce(cmdKind.empty() ? "Wie heißt du? Schreib deinen Vornamen."
                             : "Wie heißt du? Tippe auf deinen Namen oder schreib ihn.");
    // A child who taps its name needs no keyboard: the focus waits on the first name.
    if (cmdKind.empty()) {
        txtName.SetFocus();
    } else {
        cmdKind.front()->SetFocus();
    }
}

void frmName::Form_QueryClose() {
    if (program_.child().empty()) {
        End();
        return;
    }
    Hide();
}

std::string frmName::Spoken() const {
    return "Wie heißt du? " + Form::Spoken();
}

// Letters, blanks and hyphens; a blank neither first nor after another. Enter takes the name.
void frmName::txtName_KeyPress(int& KeyAscii) {
    if (KeyAscii == forms::kEnter) {
        KeyAscii = 0;
        cmdLos_Click();
        return;
    }
    if (KeyAscii == forms::kBackspace) {
        return;
    }
    const bool blank = KeyAscii == forms::kSpace;
    if (KeyAscii < 0 || !names::takes(static_cast<char32_t>(KeyAscii)) ||
        (blank && (txtName.Text.empty() || txtName.Text.back() == ' '))) {
        KeyAscii = 0;
    }
}

void frmName::cmdLos_Click() {
    const std::string name = names::taken(txtName.Text);
    if (name.empty()) {
        Announce("Schreib zuerst deinen Namen.");
        txtName.SetFocus();
        return;
    }
    take(names::asListed(name, children_));
}

void frmName::take(const std::string& name) {
    program_.chose(name);
    Announce("Hallo " + name + "!");
    Hide();
}

} // namespace zifferix
