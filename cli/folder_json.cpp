#include "cli/folder_json.h"

#include <string_view>

#include "cli/json_writer.h"
#include "engine/platform/display_path.h"
#include "engine/platform/file_error_text.h"
#include "engine/platform/local_time.h"

namespace kl::cli {

namespace {

std::string_view KindName(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Missing: return "missing";
    case EntryKind::File: return "file";
    case EntryKind::Folder: return "folder";
    case EntryKind::Link: return "link";
    case EntryKind::Special: return "special";
    }
    return "";
}

void PutCounts(OutputBuffer& out, const StateCounts& counts)
{
    out.Put('{');
    bool first = true;
    for (int s = 0; s < kEntryStateCount; ++s) {
        if (counts[static_cast<std::size_t>(s)] == 0)
            continue;
        if (!first)
            out.Put(", ");
        first = false;
        PutJsonString(out, EntryStateLabel(static_cast<EntryState>(s)));
        out.Put(": ");
        out.PutInt(counts[static_cast<std::size_t>(s)]);
    }
    out.Put('}');
}

void PutSide(OutputBuffer& out, const EntrySide& side)
{
    out.Put("{\"kind\": ");
    PutJsonString(out, KindName(side.kind));
    if (side.kind != EntryKind::Missing) {
        if (side.kind == EntryKind::File) {
            out.Put(", \"size\": ");
            out.PutInt(static_cast<std::int64_t>(side.size));
        }
        out.Put(", \"modified\": ");
        PutJsonString(out, FormatLocalTime(side.modified));
    }
    if (!side.description.empty()) {
        out.Put(", \"description\": ");
        PutJsonString(out, side.description);
    }
    if (side.kind == EntryKind::Link) {
        out.Put(", \"target\": ");
        PutJsonString(out, DisplayPath(side.linkTarget));
    }
    if (side.error != 0) {
        out.Put(", \"error\": ");
        PutJsonString(out, FileErrorText(side.error));
    }
    out.Put('}');
}

void PutEntry(OutputBuffer& out, const FolderTree& tree, int index, int depth)
{
    const FolderEntry& entry = tree.entries[static_cast<std::size_t>(index)];
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    out.Put(indent);
    out.Put("{\"name\": ");
    PutJsonString(out, DisplayPath(entry.name));
    out.Put(", \"path\": ");
    PutJsonString(out, DisplayPath(RelativePath(tree, index)));
    out.Put(", \"state\": ");
    PutJsonString(out, EntryStateLabel(entry.state));
    out.Put(", \"a\": ");
    PutSide(out, entry.sides[0]);
    out.Put(", \"b\": ");
    PutSide(out, entry.sides[1]);
    if (entry.IsFolder() || index == 0) {
        out.Put(", \"counts\": ");
        PutCounts(out, entry.counts);
        out.Put(", \"children\": [");
        for (int c = 0; c < entry.childCount; ++c) {
            out.Put(c == 0 ? "\n" : ",\n");
            PutEntry(out, tree, entry.firstChild + c, depth + 1);
        }
        if (entry.childCount > 0) {
            out.Put('\n');
            out.Put(indent);
        }
        out.Put(']');
    }
    out.Put('}');
}

}  // namespace

void WriteFolderJson(OutputBuffer& out, const FolderTree& tree)
{
    out.Put("{\"folderA\": ");
    PutJsonString(out, DisplayPath(tree.roots[0]));
    out.Put(", \"folderB\": ");
    PutJsonString(out, DisplayPath(tree.roots[1]));
    out.Put(", \"stopped\": ");
    out.Put(tree.stopped ? "true" : "false");
    out.Put(", \"totals\": ");
    PutCounts(out, Totals(tree));
    out.Put(",\n\"root\":\n");
    PutEntry(out, tree, 0, 0);
    out.Put("}\n");
}

}  // namespace kl::cli
