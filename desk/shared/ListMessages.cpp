#include "ListMessages.h"

#include "ContainerList.h"
#include "forms.h"

namespace {
const wchar_t kDamaged[] = L"加密盘列表文件 List.ini 已损坏（记录数 Count 无效）";
}  // namespace

void ShowListRefusal(ListResult why, const std::wstring& iniPath) {
  if (why == ListResult::Damaged)
    forms::MsgBox(std::wstring(kDamaged) + L"，为免丢失记录，本次没有修改它：\r\n" + iniPath +
                      L"\r\n请检查或修复该文件后重新尝试一遍。",
                  MB_OK | MB_ICONERROR, L"错误");
  else if (why == ListResult::Full)
    forms::MsgBox(L"加密盘列表已满（最多 32767 个），不能再添加。", MB_OK | MB_ICONEXCLAMATION,
                  L"注意");
}

void ShowDamagedListAtStart(const std::wstring& iniPath) {
  forms::MsgBox(std::wstring(kDamaged) + L"，列表中的加密盘暂时不能显示。为免丢失记录，程序不会修改它：\r\n" +
                    iniPath + L"\r\n请检查或修复该文件后重新启动程序。",
                MB_OK | MB_ICONERROR, L"错误");
}

void DropUnlistedContainer(const std::wstring& path) {
  if (DeleteFileW(path.c_str()))
    forms::MsgBox(L"加密盘没有加入列表，刚刚创建的加密盘文件已经删除，请重新创建加密盘。",
                  MB_OK | MB_ICONERROR, L"错误");
  else
    forms::MsgBox(L"加密盘没有加入列表，刚刚创建的加密盘文件也不能删除，请手动删除后重新创建加密盘：\r\n" +
                      path,
                  MB_OK | MB_ICONERROR, L"错误");
}
