#include "joblist/FileOpenFilters.h"

#include "joblist/ExtensionRule.h"

#include <array>

namespace velmora {

namespace {

struct FilterEntry {
    const char* nameKey;
    // Empty: every kind the extension rule takes, so the dialog never offers less or more.
    const char* patterns;
};

constexpr std::array<FilterEntry, 10> kFilters = {{
    {"StringFilterVideo", ""},
    {"StringFilterRM", "*.rm *.rmvb"},
    {"StringFilterAVI", "*.avi *.divx"},
    {"StringFilterMPEG", "*.mpg *.mpeg"},
    {"StringFilterWMV", "*.wmv *.asf"},
    {"StringFilterPortable", "*.3gp *.3g2 *.mp4 *.m4v *.mkv"},
    {"StringFilterDVD", "*.vob *.dat"},
    {"StringFilterQuickTime", "*.mov *.qt"},
    {"StringFilterWeb", "*.webm *.flv *.f4v *.swf *.smk *.nsv *.ts *.m2ts *.mts *.ogv"},
    // "*.*" would pass over names without a dot on Linux.
    {"StringFilterAll", "*"},
}};

QString EveryAcceptedKind() {
    QStringList patterns;
    for (const std::string_view pattern : AcceptedExtensionPatterns())
        patterns << QString::fromLatin1(pattern.data(), static_cast<qsizetype>(pattern.size()));
    return patterns.join(QLatin1Char(' '));
}

} // namespace

QStringList FileOpenFilterKeys() {
    QStringList keys;
    for (const FilterEntry& entry : kFilters)
        keys << QString::fromLatin1(entry.nameKey);
    return keys;
}

QStringList FileOpenFilters(const QStringList& names) {
    QStringList filters;
    for (size_t i = 0; i < kFilters.size(); ++i) {
        const QString patterns =
            *kFilters[i].patterns != '\0' ? QString::fromLatin1(kFilters[i].patterns) : EveryAcceptedKind();
        // Qt reads the patterns from the last parentheses: a name must not end in its own.
        filters << names.value(static_cast<qsizetype>(i)).trimmed() + QStringLiteral(" (") + patterns +
                       QLatin1Char(')');
    }
    return filters;
}

} // namespace velmora
