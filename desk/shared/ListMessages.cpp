#include "ListMessages.h"

#include "ContainerList.h"
#include "forms.h"

void ShowListRefusal(ListResult why, const std::wstring& iniPath) {
  if (why == ListResult::Damaged)
    forms::MsgBox(L"容器列表文件已损坏（记录数 Count 无效），为免丢失记录，本次没有修改它：\r\n" +
                      iniPath + L"\r\n请检查或修复该文件后重新尝试一遍。",
                  MB_OK | MB_ICONERROR, L"错误");
  else if (why == ListResult::Full)
    forms::MsgBox(L"容器列表已满（最多 32767 个），不能再添加。", MB_OK | MB_ICONEXCLAMATION,
                  L"注意");
}
