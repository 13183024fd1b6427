// The product's names and the maker's addresses: shown in the dialog templates and used as the
// link labels' targets. UTF-8 text.
#pragma once

#define TALLOWICK_PRODUCT_NAME_ZH "拾光整理"
#define TALLOWICK_MAKER "Tallowick 工作室"
#define TALLOWICK_MAKER_WEB "https://tallowick.example"
#define TALLOWICK_MAKER_MAIL "hi@tallowick.example"
#define TALLOWICK_MAKER_QQ "2026051701"
#define TALLOWICK_COPYRIGHT_YEAR "2026"
