#include "ui/settings/settings_apply.h"

#include <memory>

#include "engine/settings/settings_file.h"
#include "ui/document/kestrilane_doc.h"

ColorTextValues ColorTextValuesOf(const CKestrilaneDoc& doc)
{
    ColorTextValues values;
    values.colors = doc.colors;
    values.leftMessage = doc.leftMessage;
    values.rightMessage = doc.rightMessage;
    values.fDispMes = doc.docSettings.fDispMes;
    values.fSameCol = doc.docSettings.fSameCol;
    values.fOtherCol = doc.docSettings.fOtherCol;
    return values;
}

bool ApplyColorTextValues(CKestrilaneDoc& doc, const std::string& iniPath, const ColorTextValues& values)
{
    const bool messagesChanged = values.leftMessage != doc.leftMessage || values.rightMessage != doc.rightMessage;
    doc.colors = values.colors;
    doc.leftMessage = values.leftMessage;
    doc.rightMessage = values.rightMessage;
    doc.docSettings.fDispMes = values.fDispMes;
    doc.docSettings.fSameCol = values.fSameCol;
    doc.docSettings.fOtherCol = values.fOtherCol;
    const bool saved = kl::SaveColorSettings(iniPath, doc.colors, doc.leftMessage, doc.rightMessage, doc.docSettings);

    // The filler rows of the shown result take the new messages at once: the result is
    // an immutable value, so it is replaced by a copy that carries them.
    const std::shared_ptr<const kl::CompareResult>& shown = doc.result();
    if (messagesChanged && shown->IsComparison()) {
        auto relabelled = std::make_shared<kl::CompareResult>(*shown);
        relabelled->messages.left = doc.leftMessage;
        relabelled->messages.right = doc.rightMessage;
        doc.SetResult(std::move(relabelled));
    }
    return saved;
}

bool ApplyFontSettings(CKestrilaneDoc& doc, const std::string& iniPath, const kl::FontSettings& fonts)
{
    doc.fontSettings = fonts;
    doc.RecreateFonts();
    return kl::SaveFontSettings(iniPath, doc.fontSettings);
}

bool ApplyEnvironmentSettings(CKestrilaneDoc& doc, const std::string& iniPath, const kl::DocSettings& settings)
{
    doc.docSettings.fParamDo = settings.fParamDo;
    doc.docSettings.fOpenDo = settings.fOpenDo;
    doc.docSettings.eucChg = settings.eucChg;
    doc.docSettings.tabSize = settings.tabSize;
    return kl::SaveEnvironmentSettings(iniPath, doc.docSettings);
}

bool ApplyDisplaySwitches(CKestrilaneDoc& doc, const std::string& iniPath, bool paired, bool eolKind, bool wrap)
{
    doc.docSettings.fPaired = paired ? 1 : 0;
    doc.docSettings.fEolKind = eolKind ? 1 : 0;
    doc.docSettings.fWrap = wrap ? 1 : 0;
    return kl::SaveDisplaySwitches(iniPath, doc.docSettings);
}
