// The product skin's string table: the skin library's own texts (system menu, caption button hints,
// edit menu, message boxes, file and other dialogs) in Chinese, one line for every key of the
// library's table, in the table's order.
#include <memory>

#include "platform/gdi/font.h"
#include "platform/rtl/lists.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsstrings.h"
#include "tools/skingen/skingen.h"

namespace {

const char* const ProductStrings[] = {
    // System menu and caption buttons.
    "MI_MINCAPTION=最小化(&N)",
    "MI_MAXCAPTION=最大化(&X)",
    "MI_CLOSECAPTION=关闭(&C)",
    "MI_RESTORECAPTION=还原(&R)",
    "MI_MINTOTRAYCAPTION=最小化到托盘(&T)",
    "MI_ROLLUPCAPTION=卷起(&L)",
    "MINBUTTON_HINT=最小化",
    "MAXBUTTON_HINT=最大化",
    "CLOSEBUTTON_HINT=关闭",
    "TRAYBUTTON_HINT=最小化到托盘",
    "ROLLUPBUTTON_HINT=卷起",
    "MENUBUTTON_HINT=系统菜单",
    "RESTORE_HINT=还原",
    // Edit context menu.
    "EDIT_UNDO=撤销",
    "EDIT_COPY=复制",
    "EDIT_CUT=剪切",
    "EDIT_PASTE=粘贴",
    "EDIT_DELETE=删除",
    "EDIT_SELECTALL=全选",
    // Message boxes and file dialogs.
    "MSG_BTN_YES=是(&Y)",
    "MSG_BTN_NO=否(&N)",
    "MSG_BTN_OK=确定",
    "MSG_BTN_CANCEL=取消",
    "MSG_BTN_ABORT=中止(&A)",
    "MSG_BTN_RETRY=重试(&R)",
    "MSG_BTN_IGNORE=忽略(&I)",
    "MSG_BTN_ALL=全部(&A)",
    "MSG_BTN_NOTOALL=全部否(&O)",
    "MSG_BTN_YESTOALL=全部是(&Y)",
    "MSG_BTN_HELP=帮助(&H)",
    "MSG_BTN_OPEN=打开(&O)",
    "MSG_BTN_SAVE=保存(&S)",
    "MSG_BTN_CLOSE=关闭",
    "MSG_BTN_BACK_HINT=返回上一个文件夹",
    "MSG_BTN_UP_HINT=向上一级",
    "MSG_BTN_NEWFOLDER_HINT=新建文件夹",
    "MSG_BTN_VIEWMENU_HINT=查看菜单",
    "MSG_BTN_STRETCH_HINT=拉伸图片",
    "MSG_FILENAME=文件名：",
    "MSG_FILETYPE=文件类型：",
    "MSG_NEWFOLDER=新建文件夹",
    "MSG_LV_DETAILS=详细信息",
    "MSG_LV_ICON=大图标",
    "MSG_LV_SMALLICON=小图标",
    "MSG_LV_LIST=列表",
    "MSG_PREVIEWSKIN=预览",
    "MSG_PREVIEWBUTTON=按钮",
    "MSG_OVERWRITE=文件已存在，要覆盖它吗？",
    "MSG_CAP_WARNING=警告",
    "MSG_CAP_ERROR=错误",
    "MSG_CAP_INFORMATION=提示",
    "MSG_CAP_CONFIRM=确认",
    "MSG_CAP_SHOWFLAG=不再显示此消息",
    // Calculator, colour and font dialogs.
    "CALC_CAP=计算器",
    "ERROR=错误",
    "COLORGRID_CAP=基本颜色",
    "CUSTOMCOLORGRID_CAP=自定义颜色",
    "ADDCUSTOMCOLORBUTTON_CAP=添加到自定义颜色",
    "FONTDLG_COLOR=颜色：",
    "FONTDLG_NAME=名称：",
    "FONTDLG_SIZE=大小：",
    "FONTDLG_HEIGHT=高度：",
    "FONTDLG_EXAMPLE=示例：",
    "FONTDLG_STYLE=样式：",
    "FONTDLG_SCRIPT=字符集：",
    // Data and drives.
    "DB_DELETE_QUESTION=删除这条记录吗？",
    "DB_MULTIPLEDELETE_QUESTION=删除选中的全部记录吗？",
    "NODISKINDRIVE=驱动器中没有磁盘，或驱动器未就绪",
    "NOVALIDDRIVEID=驱动器标识无效",
    // File list columns.
    "FLV_NAME=名称",
    "FLV_SIZE=大小",
    "FLV_TYPE=类型",
    "FLV_LOOKIN=查找范围：",
    "FLV_MODIFIED=修改日期",
    "FLV_ATTRIBUTES=属性",
    "FLV_DISKSIZE=磁盘大小",
    "FLV_FREESPACE=可用空间",
    // Print dialog.
    "PRNDLG_NAME=名称：",
    "PRNDLG_PRINTER=打印机",
    "PRNDLG_PROPERTIES=属性...",
    "PRNDLG_TYPE=类型：",
    "PRNDLG_STATUS=状态：",
    "PRNDLG_WHERE=位置：",
    "PRNDLG_COMMENT=备注：",
    "PRNDLG_PRINTRANGE=打印范围",
    "PRNDLG_COPIES=副本",
    "PRNDLG_NUMCOPIES=份数：",
    "PRNDLG_COLLATE=逐份打印",
    "PRNDLG_ALL=全部",
    "PRNDLG_PAGES=页码",
    "PRNDLG_SELECTION=所选内容",
    "PRNDLG_PRINTTOFILE=打印到文件",
    "PRNDLG_FROM=从：",
    "PRNDLG_TO=到：",
    "PRNDLG_ORIENTATION=方向",
    "PRNDLG_PAPER=纸张",
    "PRNDLG_PORTRAIT=纵向",
    "PRNDLG_LANDSCAPE=横向",
    "PRNDLG_SOURCE=来源：",
    "PRNDLG_SIZE=大小：",
    "PRNDLG_MARGINS=页边距（毫米）",
    "PRNDLG_MARGINS_INCHES=页边距（英寸）",
    "PRNDLG_LEFT=左：",
    "PRNDLG_RIGHT=右：",
    "PRNDLG_TOP=上：",
    "PRNDLG_BOTTOM=下：",
    "PRNDLG_WARNING=系统中没有安装打印机！",
    // Find and replace.
    "FIND_NEXT=查找下一个",
    "FIND_WHAT=查找内容：",
    "FIND_DIRECTION=方向",
    "FIND_DIRECTIONUP=向上",
    "FIND_DIRECTIONDOWN=向下",
    "FIND_MATCH_CASE=区分大小写",
    "FIND_MATCH_WHOLE_WORD_ONLY=全字匹配",
    "FIND_REPLACE_WITH=替换为：",
    "FIND_REPLACE=替换",
    "FIND_REPLACE_All=全部替换",
    "FIND_REPLACE_CLOSE=关闭",
    // Colour button.
    "MORECOLORS=其他颜色...",
    "AUTOCOLOR=自动",
    "CUSTOMCOLOR=自定义...",
    // Data navigator.
    "DBNAV_FIRST=第一条",
    "DBNAV_PRIOR=上一条",
    "DBNAV_NEXT=下一条",
    "DBNAV_LAST=最后一条",
    "DBNAV_INSERT=插入",
    "DBNAV_DELETE=删除",
    "DBNAV_EDIT=编辑",
    "DBNAV_POST=保存",
    "DBNAV_CANCEL=取消",
    "DBNAV_REFRESH=刷新",
};

static_assert(sizeof ProductStrings / sizeof ProductStrings[0] ==
                  sizeof SkinDefaultResourceStrings / sizeof SkinDefaultResourceStrings[0],
              "one product text for every key of the library's table");

}  // namespace

std::unique_ptr<TbsResourceStrData> ProductStringTable() {
  auto Table = std::make_unique<TbsResourceStrData>(nullptr);
  TStringList Lines;
  for (const char* Line : ProductStrings) Lines.Add(Line);
  Table->SetResStrings(&Lines);
  Table->SetCharSet(GB2312_CHARSET);
  return Table;
}
