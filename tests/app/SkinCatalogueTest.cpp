// The shipped skins, read as style sheets: named as the skin menu expects, readable, complete and
// each one a look of its own.
#include "app/SkinChoice.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora::test {
namespace {

struct Rule {
    std::vector<std::string> selectors;
    std::map<std::string, std::string> properties;
};

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t depth = 0, start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : separator;
        depth += c == '(' ? 1 : 0;
        depth -= c == ')' && depth > 0 ? 1 : 0;
        if (c == separator && depth == 0) {
            if (const std::string part = Trim(text.substr(start, i - start)); !part.empty())
                parts.push_back(part);
            start = i + 1;
        }
    }
    return parts;
}

std::vector<Rule> ParseSheet(std::string sheet) {
    for (size_t comment = sheet.find("/*"); comment != std::string::npos; comment = sheet.find("/*"))
        sheet.erase(comment, sheet.find("*/", comment) + 2 - comment);
    std::vector<Rule> rules;
    size_t at = 0;
    while ((at = sheet.find('{')) != std::string::npos) {
        const size_t end = sheet.find('}', at);
        Rule rule;
        rule.selectors = Split(sheet.substr(0, at), ',');
        for (const std::string& declaration : Split(sheet.substr(at + 1, end - at - 1), ';')) {
            const size_t colon = declaration.find(':');
            rule.properties[Trim(declaration.substr(0, colon))] = Trim(declaration.substr(colon + 1));
        }
        rules.push_back(rule);
        sheet.erase(0, end + 1);
    }
    return rules;
}

using Colour = std::array<double, 3>;

// Every #rrggbb colour a value names (a plain colour or the stops of a gradient).
std::vector<Colour> Colours(const std::string& value) {
    std::vector<Colour> colours;
    for (size_t hash = value.find('#'); hash != std::string::npos; hash = value.find('#', hash + 1)) {
        const std::string digits = value.substr(hash + 1, 6);
        if (digits.size() != 6 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            continue;
        const long rgb = std::stol(digits, nullptr, 16);
        colours.push_back({((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0});
    }
    return colours;
}

double Luminance(const Colour& colour) {
    double sum = 0;
    const std::array<double, 3> weights{0.2126, 0.7152, 0.0722};
    for (size_t i = 0; i < 3; ++i) {
        const double c = colour[i];
        sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double Contrast(const Colour& a, const Colour& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class Skin {
public:
    explicit Skin(const std::string& name)
        : name_(name),
          rules_(ParseSheet(ReadTextFile(std::string(VELMORA_SOURCE_DIR) + "/resources/skins/" + name))) {}

    const std::vector<Rule>& Rules() const { return rules_; }

    // The background behind a rule's text: its own, else that of the plain widget kind it refines,
    // else the one every widget has.
    std::vector<Colour> Background(const Rule& rule, const std::string& selector) const {
        if (auto own = OwnBackground(rule); !own.empty())
            return own;
        const std::string kind = selector.substr(0, selector.find_first_of(":, "));
        for (const std::string& fallback : {kind, std::string("QWidget")})
            if (const Rule* base = Find(fallback))
                if (auto colours = OwnBackground(*base); !colours.empty())
                    return colours;
        return {};
    }

    const Rule* Find(const std::string& selector) const {
        for (const Rule& rule : rules_)
            if (std::find(rule.selectors.begin(), rule.selectors.end(), selector) != rule.selectors.end())
                return &rule;
        return nullptr;
    }

    std::string Value(const std::string& selector, const std::string& property) const {
        const Rule* rule = Find(selector);
        return rule && rule->properties.count(property) ? rule->properties.at(property) : "";
    }

private:
    static std::vector<Colour> OwnBackground(const Rule& rule) {
        for (const char* property : {"background-color", "background"})
            if (auto it = rule.properties.find(property); it != rule.properties.end())
                return Colours(it->second);
        return {};
    }

    std::string name_;
    std::vector<Rule> rules_;
};

class ShippedSkin : public ::testing::TestWithParam<int32_t> {};

TEST_P(ShippedSkin, EveryTextReadsAtLeastFourAndAHalfToOne) {
    const Skin skin(SkinFileName(GetParam()));
    size_t pairs = 0;
    for (const Rule& rule : skin.Rules()) {
        const auto check = [&](const std::string& textProperty, const std::vector<Colour>& backgrounds) {
            auto it = rule.properties.find(textProperty);
            if (it == rule.properties.end())
                return;
            const std::vector<Colour> texts = Colours(it->second);
            ASSERT_FALSE(texts.empty()) << rule.selectors[0] << " " << textProperty;
            ASSERT_FALSE(backgrounds.empty()) << rule.selectors[0] << " has text on no known background";
            for (const Colour& text : texts)
                for (const Colour& background : backgrounds) {
                    EXPECT_GE(Contrast(text, background), 4.5) << rule.selectors[0] << " " << textProperty;
                    ++pairs;
                }
        };
        check("color", skin.Background(rule, rule.selectors[0]));
        auto selection = rule.properties.find("selection-background-color");
        if (selection != rule.properties.end())
            check("selection-color", Colours(selection->second));
        auto alternate = rule.properties.find("alternate-background-color");
        if (alternate != rule.properties.end())
            check("color", Colours(alternate->second));
    }
    EXPECT_GT(pairs, 40u);
}

TEST_P(ShippedSkin, StylesEveryControlKindWithItsDisabledAndFocusStates) {
    const Skin skin(SkinFileName(GetParam()));
    for (const char* selector : {"QWidget",
                                 "QMainWindow",
                                 "QDialog",
                                 "QMessageBox",
                                 "QFileDialog",
                                 "QMenuBar",
                                 "QMenuBar::item:selected",
                                 "QMenu",
                                 "QMenu::item:selected",
                                 "QMenu::item:disabled",
                                 "QMenu::separator",
                                 "QGroupBox",
                                 "QGroupBox::title",
                                 "QGroupBox:disabled",
                                 "QLabel",
                                 "QLabel:disabled",
                                 "QPushButton",
                                 "QPushButton:hover",
                                 "QPushButton:pressed",
                                 "QPushButton:default",
                                 "QPushButton:focus",
                                 "QPushButton:disabled",
                                 "QComboBox",
                                 "QComboBox:focus",
                                 "QComboBox:disabled",
                                 "QComboBox::drop-down",
                                 "QComboBox::down-arrow",
                                 "QComboBox QAbstractItemView",
                                 "QLineEdit",
                                 "QLineEdit:read-only",
                                 "QLineEdit:focus",
                                 "QLineEdit:disabled",
                                 "QCheckBox",
                                 "QCheckBox:focus",
                                 "QCheckBox:disabled",
                                 "QCheckBox::indicator",
                                 "QCheckBox::indicator:checked",
                                 "QCheckBox::indicator:disabled",
                                 "QProgressBar",
                                 "QProgressBar::chunk",
                                 "QProgressBar:disabled",
                                 "QTableView",
                                 "QTreeView",
                                 "QListView",
                                 "QAbstractItemView:focus",
                                 "QAbstractItemView:disabled",
                                 "QHeaderView::section",
                                 "QScrollBar:vertical",
                                 "QScrollBar:horizontal",
                                 "QScrollBar::handle",
                                 "QToolButton",
                                 "QToolButton:focus",
                                 "QToolTip"})
        EXPECT_NE(skin.Find(selector), nullptr)
            << SkinFileName(GetParam()) << " leaves " << selector << " bare";
    // Focus is shown in a colour of its own, not the frame's.
    EXPECT_NE(skin.Value("QPushButton:focus", "border"), skin.Value("QPushButton", "border"));
    EXPECT_NE(skin.Value("QLineEdit:focus", "border-color"), "");
    // A ticked box shows a tick, drawn from a picture that is shipped, not only a change of colour.
    for (const char* state : {"QCheckBox::indicator:checked", "QCheckBox::indicator:checked:disabled"}) {
        std::string image;
        for (const Rule& rule : skin.Rules())
            if (std::count(rule.selectors.begin(), rule.selectors.end(), state) &&
                rule.properties.count("image"))
                image = rule.properties.at("image");
        const std::string prefix = "url(:/velmora/skins/";
        ASSERT_EQ(image.rfind(prefix, 0), 0u) << SkinFileName(GetParam()) << " " << state;
        EXPECT_TRUE(PathExists(std::string(VELMORA_SOURCE_DIR) + "/resources/skins-images/" +
                               image.substr(prefix.size(), image.size() - prefix.size() - 1)))
            << image;
    }
}

INSTANTIATE_TEST_SUITE_P(EachOfTheEighteen, ShippedSkin, ::testing::Range(1, kSkinCount + 1),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                             std::string name = SkinFileName(info.param);
                             return name.substr(0, name.find('.'));
                         });

TEST(ShippedSkins, OnlyTheEighteenOfTheMenuAreShipped) {
    std::set<std::string> expected;
    for (int32_t n = 1; n <= kSkinCount; ++n)
        expected.insert(SkinFileName(n));
    const std::vector<std::string> entries =
        FolderEntries(std::string(VELMORA_SOURCE_DIR) + "/resources/skins");
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()), expected);
}

TEST(ShippedSkins, EachLooksDifferentFromEveryOther) {
    // The colours a user sees first: window, menu bar, buttons and selection.
    std::vector<std::vector<Colour>> looks;
    for (int32_t n = 1; n <= kSkinCount; ++n) {
        const Skin skin(SkinFileName(n));
        std::vector<Colour> look;
        for (const auto& [selector, property] :
             std::vector<std::pair<std::string, std::string>>{{"QWidget", "background-color"},
                                                              {"QMenuBar", "background"},
                                                              {"QPushButton", "background"},
                                                              {"QWidget", "selection-background-color"}}) {
            const std::vector<Colour> colours = Colours(skin.Value(selector, property));
            ASSERT_FALSE(colours.empty()) << SkinFileName(n) << " " << selector;
            look.push_back(colours.front());
        }
        looks.push_back(look);
    }
    for (size_t a = 0; a < looks.size(); ++a)
        for (size_t b = a + 1; b < looks.size(); ++b) {
            double largest = 0;
            for (size_t i = 0; i < looks[a].size(); ++i) {
                double distance = 0;
                for (size_t c = 0; c < 3; ++c)
                    distance += std::pow((looks[a][i][c] - looks[b][i][c]) * 255, 2);
                largest = std::max(largest, std::sqrt(distance));
            }
            EXPECT_GT(largest, 48) << SkinFileName(static_cast<int32_t>(a + 1)) << " and "
                                   << SkinFileName(static_cast<int32_t>(b + 1)) << " look alike";
        }
}

} // namespace
} // namespace velmora::test
