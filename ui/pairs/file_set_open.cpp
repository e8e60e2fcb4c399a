#include "ui/pairs/file_set_open.h"

bool OpenFileSet(const kl::FilePair& pair, const FileSetOpenActions& actions)
{
    if (actions.fileNew)
        actions.fileNew();
    return actions.openFile && actions.openFile(pair.docA) && actions.openFile(pair.docB);
}
