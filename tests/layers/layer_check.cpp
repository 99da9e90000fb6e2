// Checks the product's #include lines against the folders' order and the
// libraries' links:
//
//   zmr_layer_check ROOT ORDER_FILE TARGETS_FILE
//
// ORDER_FILE holds the order as a fenced block marked `layers`: one level a
// line, lowest first, the folders of a level beside each other. TARGETS_FILE
// is what the build writes of its targets (their folder, sources and links).
// A file may include its own folder, a folder below it whose library its own
// links, or one of its level whose library its own links; anything else is
// printed as FILE:LINE and the two folders, and the check fails.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Target {
    std::vector<std::string> links;
    std::vector<std::string> sources;  // relative to the root
};

using Targets = std::map<std::string, Target>;
using Levels = std::map<std::string, int>;  // folder -> level, 0 lowest

std::vector<std::string> splitList(const std::string& text, char separator) {
    std::vector<std::string> items;
    std::string item;
    std::istringstream in(text);
    while (std::getline(in, item, separator))
        if (!item.empty()) items.push_back(item);
    return items;
}

std::optional<Levels> readOrder(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line) && line != "```layers") {}
    Levels levels;
    int level = 0;
    while (std::getline(in, line) && line != "```") {
        std::istringstream words(line);
        std::string folder;
        bool any = false;
        while (words >> folder) {
            while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
            levels[folder] = level;
            any = true;
        }
        if (any) ++level;
    }
    if (levels.empty()) return std::nullopt;
    return levels;
}

std::string relativeTo(const fs::path& root, const fs::path& dir, const std::string& source) {
    fs::path path(source);
    if (path.is_relative()) path = dir / path;
    return path.lexically_normal().lexically_relative(root).generic_string();
}

// Blocks of "target NAME", "dir DIR", "links A;B", "sources X;Y" lines.
Targets readTargets(const fs::path& file, const fs::path& root) {
    Targets targets;
    std::ifstream in(file);
    std::string line, name;
    fs::path dir = root;
    while (std::getline(in, line)) {
        const size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (key == "target") {
            name = value;
            targets[name];
        } else if (key == "dir") {
            dir = fs::path(value).is_relative() ? root / value : fs::path(value);
        } else if (key == "links" && !name.empty()) {
            targets[name].links = splitList(value, ';');
        } else if (key == "sources" && !name.empty()) {
            for (const std::string& source : splitList(value, ';'))
                targets[name].sources.push_back(relativeTo(root, dir, source));
        }
    }
    return targets;
}

// The ordered folder that `path` lies in: the longest that is a prefix of it.
std::optional<std::string> folderOf(const std::string& path, const Levels& levels) {
    std::optional<std::string> best;
    for (const auto& [folder, level] : levels) {
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/' &&
            (!best || folder.size() > best->size()))
            best = folder;
    }
    return best;
}

std::set<std::string> linkedFrom(const std::string& name, const Targets& targets) {
    std::set<std::string> reached{name};
    std::vector<std::string> pending{name};
    while (!pending.empty()) {
        const auto found = targets.find(pending.back());
        pending.pop_back();
        if (found == targets.end()) continue;
        for (const std::string& link : found->second.links)
            if (reached.insert(link).second) pending.push_back(link);
    }
    return reached;
}

struct Checker {
    Levels levels;
    Targets targets;
    std::map<std::string, std::set<std::string>> folderTargets;  // folder -> targets compiling a file of it
    std::map<std::string, std::set<std::string>> fileTargets;
    int violations = 0;

    Checker(Levels l, Targets t) : levels(std::move(l)), targets(std::move(t)) {
        for (const auto& [name, target] : targets) {
            for (const std::string& source : target.sources) {
                fileTargets[source].insert(name);
                if (const auto folder = folderOf(source, levels)) folderTargets[*folder].insert(name);
            }
        }
    }

    void report(const std::string& file, int line, const std::string& what) {
        std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), line, what.c_str());
        ++violations;
    }

    void checkInclude(const std::string& file, int line, const std::string& folder, const std::string& included) {
        const auto to = folderOf(included, levels);
        if (!to || *to == folder) return;
        const std::string said = folder + " includes " + *to + " (\"" + included + "\")";
        if (levels.at(*to) > levels.at(folder)) return report(file, line, said + ", which is above it in the layer order");
        const auto owners = folderTargets.find(*to);
        if (owners == folderTargets.end()) return;  // not built in this configuration
        const auto own = fileTargets.count(file) ? fileTargets[file] : folderTargets[folder];
        for (const std::string& target : own) {
            const std::set<std::string> reached = linkedFrom(target, targets);
            const bool links = std::any_of(owners->second.begin(), owners->second.end(),
                                           [&](const std::string& owner) { return reached.count(owner) > 0; });
            if (!links) report(file, line, said + ", but " + target + " does not link " + *owners->second.begin());
        }
    }

    void checkFile(const fs::path& root, const std::string& file, const std::string& folder) {
        static const std::regex kInclude(R"re(^\s*#\s*include\s*"([^"]+)")re");
        std::ifstream in(root / file);
        std::string text;
        std::smatch match;
        for (int line = 1; std::getline(in, text); ++line)
            if (std::regex_search(text, match, kInclude)) checkInclude(file, line, folder, match[1]);
    }

    void checkTree(const fs::path& root) {
        for (const auto& [folder, level] : levels) {
            std::error_code error;
            if (!fs::is_directory(root / folder, error)) continue;
            for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
                const std::string extension = entry.path().extension().string();
                if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
                const std::string file = entry.path().lexically_relative(root).generic_string();
                if (folderOf(file, levels) == folder) checkFile(root, file, folder);
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: zmr_layer_check ROOT ORDER_FILE TARGETS_FILE\n");
        return 2;
    }
    fs::path root = fs::path(argv[1]).lexically_normal();
    if (!root.has_filename()) root = root.parent_path();  // written with a trailing '/'
    std::optional<Levels> levels = readOrder(argv[2]);
    if (!levels) {
        std::fprintf(stderr, "%s: no ```layers block\n", argv[2]);
        return 2;
    }
    Targets targets = readTargets(argv[3], root);
    if (targets.empty()) {
        std::fprintf(stderr, "%s: no targets\n", argv[3]);
        return 2;
    }
    Checker checker(std::move(*levels), std::move(targets));
    checker.checkTree(root);
    if (checker.violations > 0) {
        std::fprintf(stderr, "%d include(s) against the layer order or the libraries' links\n", checker.violations);
        return 1;
    }
    return 0;
}
