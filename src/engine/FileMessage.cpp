#include "engine/FileMessage.h"

#include "engine/Texts.h"

namespace cxb {

const char* FileMessage::cause(FileProblem problem) {
    switch (problem) {
    case FileProblem::NotFound: return "找不到这个文件";
    case FileProblem::NoPermission: return "没有读写这个文件的权限";
    case FileProblem::WriteProtected: return "这个文件设成了只读（写保护），程序没有改动它";
    case FileProblem::IsFolder: return "这里是一个文件夹，不是文件";
    case FileProblem::NotABank: return "这不是题库文件";
    case FileProblem::CountOutOfRange: return "文件里记的题数小于0或超过1999，不是有效的题库";
    case FileProblem::TooShort: return "文件比它的题数所需的短，题库不完整";
    case FileProblem::DiskFull: return "磁盘已满，没能写完，原来的文件保持不变";
    case FileProblem::None:
    case FileProblem::Other: break;
    }
    return "无法读写这个文件";
}

const char* FileMessage::advice(FileProblem problem) {
    switch (problem) {
    case FileProblem::NotFound: return "请确认文件还在程序的文件夹里，或在“设置”中重新选择题库。";
    case FileProblem::NoPermission: return "请让当前用户可以读写这个文件和它所在的文件夹，然后再试。";
    case FileProblem::WriteProtected: return "要保存练习记录，请去掉这个文件的只读属性（chmod u+w），然后再试。";
    case FileProblem::IsFolder: return "请把这个文件夹改名或移走，然后再试。";
    case FileProblem::NotABank:
    case FileProblem::CountOutOfRange: return "请在“设置”中换一个题库，或重新复制这个题库文件。";
    case FileProblem::TooShort: return "请重新复制或下载这个题库文件。";
    case FileProblem::DiskFull: return "请清理磁盘空间，然后再试。";
    case FileProblem::None:
    case FileProblem::Other: break;
    }
    return "请检查这个文件和磁盘，然后再试。";
}

const char* FileMessage::exportAdvice(FileProblem problem) {
    switch (problem) {
    case FileProblem::NotFound: return "请确认要保存到的文件夹还在，或换一个文件夹，然后再试。";
    case FileProblem::NoPermission: return "请换一个可以写入的文件夹（例如“文档”），或让当前用户可以写这个文件夹，然后再试。";
    case FileProblem::WriteProtected: return "请去掉这个文件的只读属性（chmod u+w），或换一个文件名，然后再试。";
    case FileProblem::IsFolder: return "这里有一个同名的文件夹，请换一个文件名，然后再试。";
    case FileProblem::DiskFull: return "请清理磁盘空间，或换一个磁盘上的文件夹，然后再试。";
    case FileProblem::NotABank:
    case FileProblem::CountOutOfRange:
    case FileProblem::TooShort:
    case FileProblem::None:
    case FileProblem::Other: break;
    }
    return "请换一个文件夹或文件名，然后再试。";
}

std::string FileMessage::shownName(const std::string& programFolder, const std::string& nativePath) {
    if (!programFolder.empty() && nativePath.size() > programFolder.size() + 1 &&
        nativePath.compare(0, programFolder.size(), programFolder) == 0 && nativePath[programFolder.size()] == '/')
        return nativePath.substr(programFolder.size() + 1);
    return nativePath;
}

std::string FileMessage::compose(const std::string& firstLine, const std::string& shownName, FileProblem problem,
                                 const char* advice) {
    return firstLine + "\n文件 " + shownName + "：" + cause(problem) + "。\n" +
           (advice ? advice : FileMessage::advice(problem)) + "\n" + texts::kSupportLine;
}

} // namespace cxb
