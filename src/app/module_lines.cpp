#include "app/module_lines.h"

#include <algorithm>

namespace vex::app {

namespace {

std::string Join(std::vector<std::string>::const_iterator first, std::vector<std::string>::const_iterator last) {
    std::string out;
    for (auto it = first; it != last; ++it) {
        if (it != first) out += "\r\n";
        out += *it;
    }
    return out;
}

}  // namespace

std::vector<std::string> ModuleLines(const ide::CodeModule& module) {
    std::vector<std::string> lines;
    const long count = module.CountOfLines();
    lines.reserve(static_cast<size_t>(count));
    for (long i = 1; i <= count; ++i) lines.push_back(module.Lines(i, 1));
    return lines;
}

void SetModuleLines(ide::CodeModule& module, const std::vector<std::string>& wanted) {
    const std::vector<std::string> old = ModuleLines(module);
    if (old.empty() && wanted.size() == 1 && wanted[0].empty()) return;
    size_t head = 0;
    while (head < old.size() && head < wanted.size() && old[head] == wanted[head]) ++head;
    size_t tail = 0;
    while (tail < old.size() - head && tail < wanted.size() - head &&
           old[old.size() - 1 - tail] == wanted[wanted.size() - 1 - tail])
        ++tail;
    const long oldMid = static_cast<long>(old.size() - head - tail);
    const auto first = wanted.begin() + static_cast<long>(head);
    const auto last = wanted.end() - static_cast<long>(tail);
    const long newMid = static_cast<long>(last - first);
    const long at = static_cast<long>(head) + 1;  // first line that differs
    if (oldMid > 0 && newMid > 0) {
        module.ReplaceLine(at, Join(first, last));
        if (oldMid > 1) module.DeleteLines(at + newMid, oldMid - 1);
    } else if (oldMid > 0) {
        module.DeleteLines(at, oldMid);
    } else if (newMid > 0) {
        if (at <= static_cast<long>(old.size()))
            module.ReplaceLine(at, Join(first, last) + "\r\n" + old[head]);
        else if (!old.empty())
            module.ReplaceLine(at - 1, old.back() + "\r\n" + Join(first, last));
        else
            module.ReplaceLine(1, Join(first, last));
    }
}

}  // namespace vex::app
