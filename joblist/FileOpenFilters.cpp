#include "joblist/FileOpenFilters.h"

#include <array>

namespace velmora {

namespace {

struct FilterEntry {
    const char* description;
    const char* patterns;
};

constexpr std::array<FilterEntry, 10> kFilters = {{
    {"Support files", "*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.avs;*.vob;*.dat;*.mp4;*.psp;*.rm;*.rmvb;*.smk;*.swf;*"
                      ".nsv;*.mov;*.qt;*.mkv;*.webm;*.flv;*.f4v;*.m4v;*.ts;*.m2ts;*.mts;*.ogv;*.3g2;*.divx"},
    {"RM files (*.rm;*.rmvb)", "*.rm;*.rmvb"},
    {"AVI files (*.avi)", "*.avi"},
    {"MPEG files (*.mpg;*.mpeg)", "*.mpg;*.mpeg"},
    {"WMV files (*.wmv;*.asf)", "*.wmv;*.asf"},
    {"Portable device files (*.3gp;*.mp4;*.avs;*.psp;*.mkv)", "*.3gp;*.mp4;*.avs;*.psp;*.mkv"},
    {"DVD VCD Files (*.vob;*.dat)", "*.vob;*.dat"},
    {"Quick Time Files (*.mov;*.qt)", "*.mov;*.qt"},
    {"Web, camera and TV files (*.webm;*.flv;*.f4v;*.m4v;*.ts;*.m2ts;*.mts;*.ogv;*.3g2;*.divx)",
     "*.webm;*.flv;*.f4v;*.m4v;*.ts;*.m2ts;*.mts;*.ogv;*.3g2;*.divx"},
    // "*.*" would pass over names without a dot on Linux.
    {"All files (*.*)", "*"},
}};

} // namespace

QStringList FileOpenFilters() {
    QStringList filters;
    for (const FilterEntry& entry : kFilters) {
        // Qt takes the patterns from the last parentheses, separated by blanks; a description that
        // names its patterns already shows them once, in that form.
        QString description = QString::fromLatin1(entry.description);
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description.truncate(open - 1);
        QString patterns = QString::fromLatin1(entry.patterns);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

} // namespace velmora
