#include "cli/html_report_output.h"

#include <chrono>

#include "cli/command_support.h"
#include "engine/platform/atomic_file.h"
#include "engine/platform/file_time.h"
#include "engine/report/html_report.h"

namespace kl::cli {

int WriteHtmlReportOutput(OutputBuffer& out, const CompareCommandOptions& options, const TextDocument& doc,
                          const std::shared_ptr<const CompareResult>& result)
{
    ReportHeader header;
    header.mode = options.run.mode;
    header.options = options.run.options;
    header.createdSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                std::chrono::system_clock::now().time_since_epoch()).count();
    const std::array<const std::string*, 2> paths{&options.fileA, &options.fileB};
    for (std::size_t side = 0; side < 2; ++side) {
        ReportFile& file = header.files[side];
        file.path = *paths[side];
        if (doc.fileStamps.size() > side && doc.fileStamps[side].known)
            file.size = doc.fileStamps[side].size;
        if (const std::optional<FileTime> modified = LastWriteTime(file.path))
            file.modifiedSeconds = modified->seconds;
    }
    ReportStyle style;
    style.context = options.reportContext;
    style.newlineMarks = options.newlineMarks;

    const ShownRows shown(result->texts, result, {DISPLAY_RESULT, options.paired});
    if (options.outPath.empty()) {
        WriteHtmlReport(shown, header, style, [&out](std::string_view piece) {
            out.Put(piece);
            return true;
        });
        return kExitOk;
    }
    std::string page;
    WriteHtmlReport(shown, header, style, [&page](std::string_view piece) {
        page += piece;
        return true;
    });
    if (const ReplaceResult saved = ReplaceFileAtomically(options.outPath, page); !saved) {
        PrintCommandError("compare", "ファイル「" + options.outPath + "」に保存できませんでした (" + saved.reason + ")");
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace kl::cli
