// The command-line tool's own texts. The job's texts (checks, messages, summary) are the
// core's and are printed unchanged.
#pragma once

#include <string>

inline constexpr char kCliUsage[] =
    "用法: tallowick-cli [选项] 照片目录 输出目录\n"
    "\n"
    "把照片目录 (包括所有子目录) 里的照片和视频按日期整理到输出目录:\n"
    "JPEG 照片按 EXIF 拍摄日期, 其他文件按最后修改日期, 放进 \"2012年/2012-05-17\" 这样的目录.\n"
    "以 \".\" 或 \"~\" 开头的文件和目录会被跳过. 已有的文件不会被覆盖.\n"
    "\n"
    "选项:\n"
    "  --move              移动文件 (删除源文件); 默认是复制\n"
    "  --flat              日期目录直接放在输出目录下, 不建年份目录\n"
    "  --layout 样式       目录样式 (优先于 --flat):\n"
    "                        year-day        2012年/2012-05-17 (默认)\n"
    "                        day             2012-05-17 (同 --flat)\n"
    "                        year-month-day  2012年/05月/2012-05-17\n"
    "                        year-month      2012年/2012-05 (按月, 不分日)\n"
    "                        numeric         2012/05/17\n"
    "  --filter 文本       扩展名过滤文本, 默认 \"jpg,avi,mov,mp4\"\n"
    "                      (文件路径转成小写后, 最后三个字符出现在文本中即可通过)\n"
    "  --dry-run           试运行: 只显示每个文件会放到哪里, 不改动磁盘\n"
    "  --quiet             不逐个显示文件, 只显示失败的文件和汇总\n"
    "  --media-dates       也从文件内的拍摄日期和文件名 (如 IMG_20210314_101500) 取日期,\n"
    "                      .jpeg 也按 JPEG 读; 试运行时每行注明日期来源 (括号内):\n"
    "                        JPG/JPEG  EXIF 拍摄日期 (EXIF)\n"
    "                        HEIC/HEIF/AVIF/HIF  EXIF 拍摄日期 (HEIC EXIF)\n"
    "                        RAW: CR2 NEF NRW ARW SR2 SRF DNG PEF SRW 3FR ERF KDC MEF MOS\n"
    "                             IIQ ORF RW2 RWL  TIFF 结构中的 EXIF 拍摄日期 (RAW EXIF)\n"
    "                        CR3 (CMT 块), RAF (内嵌 JPEG), MRW (TTW 块), CRW (拍摄时间记录),\n"
    "                             X3F (内嵌 JPEG 或 TIME 属性)  (RAW EXIF)\n"
    "                        TIF/TIFF, PNG (eXIf 或 Raw profile 文本), WebP, JXL, PSD\n"
    "                             EXIF 拍摄日期 (TIFF/PNG/WebP/JXL/PSD EXIF)\n"
    "                        MP4/MOV/M4V/3GP  本地拍摄时间 (QuickTime local), 否则影片头的\n"
    "                             UTC 时间换成本地日期 (QuickTime UTC)\n"
    "                        AVI  IDIT 日期 (AVI IDIT), 流头里的 EXIF (AVI EXIF),\n"
    "                             否则旁边同名的 .THM 文件 (THM EXIF)\n"
    "                        MTS/M2TS  AVCHD 视频流里的录制日期 (AVCHD)\n"
    "                        MKV/WebM  DateUTC 换成本地日期 (Matroska UTC)\n"
    "                        都没有时: 文件名中的日期 (name), 否则最后修改日期 (file date)\n"
    "                      同一目录里同名的 RAW 和 JPEG/HEIF 照片放进同一天: 没有日期的一方\n"
    "                      跟随另一方 (raw pair)\n"
    "  --raw-folder        RAW 照片放进当天目录下的 RAW 子目录\n"
    "  --error-file 路径   失败列表写到这个文件, 默认是程序目录下的 errorFile.txt\n"
    "  --skip-identical    目标位置已有内容完全相同的文件时, 算作已存在, 不复制也不移动\n"
    "  --rename-clashes    目标位置已有同名的不同文件时, 改名为 IMG_0001(1).JPG, (2) ...\n"
    "  --sidecars          .xmp, .aae, .thm 附属文件和实况照片的视频跟随同名的照片或视频\n"
    "  --no-media-dates, --no-skip-identical, --no-rename-clashes, --no-sidecars,\n"
    "  --no-raw-folder\n"
    "                      关闭对应的选项, 即使 Config.ini 打开了它 (最后给出的为准)\n"
    "  --journal 文件      把建立的目录和放好的文件逐行记入这个日志 (追加), 供撤销用\n"
    "  --jobs N            同时处理 N 个文件 (0 到 64): 1 为逐个处理; 0 (默认) 按磁盘选择,\n"
    "                      网络共享上 8 个, 机械硬盘上 1 个, 其他 4 个. 显示的内容, 日志和\n"
    "                      结果都与逐个处理时相同\n"
    "  --undo 文件         按日志撤销整理: 移动的文件移回原处, 复制的文件删除, 空目录删除;\n"
    "                      文件已改动或原处已有文件时不撤销, 只列出. 可与 --dry-run 同用\n"
    "  --help              显示本帮助\n"
    "  --version           显示版本\n"
    "  --                  其后的参数都当作目录\n"
    "带参数的选项也可以写成 --filter=文本, --layout=样式.\n"
    "撤销: tallowick-cli [--dry-run] --undo 日志文件\n"
    "\n"
    "程序目录下有 Config.ini 时, 读取其中的 FileFilters 和 IsClassifyByYear (与窗口程序相同),\n"
    "以及 ReadMediaDates=1, SkipIdentical=1, RenameClashes=1, Sidecars=1, RawFolder=1\n"
    "(同 --media-dates, --skip-identical, --rename-clashes, --sidecars, --raw-folder),\n"
    "FolderLayout=样式 (同 --layout) 和 Jobs=N (同 --jobs); "
    "命令行选项优先 (--no-... 可关闭这五项); 本工具只读不写 Config.ini.\n"
    "\n"
    "退出码: 0 全部成功, 1 有文件失败或有目录无法读取 (撤销时: 有文件无法撤销),\n"
    "2 用法错误或无法开始, 130 (Windows 上为 0xC000013A) 被 Ctrl+C 停止.\n"
    "整理中按 Ctrl+C: 正在处理的文件处理完后停止, 仍显示汇总; 再按一次立即退出.\n";

inline constexpr char kCliShortUsage[] =
    "用法: tallowick-cli [选项] 照片目录 输出目录\n"
    "详细说明: tallowick-cli --help\n";

inline constexpr char kDryRunStart[] =
    "试运行: 只显示每个文件会放到哪里, 不会复制, 移动或创建任何文件.\n";
inline constexpr char kDryRunEnd[] = "试运行结束: 磁盘上没有任何改动.\n";
inline constexpr char kDryRunNoFailureFile[] = "试运行不写失败列表.\n";
inline constexpr char kTargetFolder[] = "输出目录: ";
inline constexpr char kFailureFile[] = "失败列表: ";
inline constexpr char kFailureFileNotWritten[] = "无法写入失败列表: ";
inline constexpr char kStoppedEarly[] = "已停止: 其余文件没有处理.\n";
inline constexpr char kDryRunNoJournal[] = "试运行不写日志.\n";
inline constexpr char kJournalNotOpened[] = "无法写入日志: ";
inline constexpr char kJournalNotWritten[] = "日志没有写全: ";
inline constexpr char kJournalNotRead[] = "无法读取日志: ";
inline constexpr char kUndoDryRunStart[] = "试运行撤销: 只显示会做什么, 不改动磁盘.\n";
