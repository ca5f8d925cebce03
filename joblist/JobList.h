#pragma once

#include <optional>
#include <string>

class QTableWidget;

namespace velmora {

// The queue of source paths shown in the main window's list: one row a path, exactly as received.
class JobList {
public:
    explicit JobList(QTableWidget* list) : list_(list) {}

    // Appends the path when it passes the extension rule; returns whether it did.
    bool AddFile(const std::string& path);

    int Count() const;
    // The entry's text as a path (it may have been edited in place).
    std::string EntryText(int index) const;
    // Makes the entry the only selected one and shows it.
    void SelectEntry(int index);
    std::optional<int> SelectedIndex() const;

    void RemoveSelected();
    void Clear();
    // Moves the selected entry one place up (-1) or down (+1); the selection follows it.
    void MoveSelected(int offset);

private:
    QTableWidget* list_;
};

} // namespace velmora
