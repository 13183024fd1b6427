// Placeholder: the switches exist and every call does nothing, so that callers link.
#include "log/msgx.h"

int CMsgX::m_bDebug = 0;
int CMsgX::m_bWrite = 0;
int CMsgX::m_nMinLevel = 0;
int CMsgX::m_nMaxSize = 0;
char CMsgX::m_szLogFile[260] = {};
int CMsgX::m_nLine = 0;

CMsgX::CMsgX() { ReadSettings(); }

void CMsgX::ReadSettings() {}
void CMsgX::Log(const char*, int, int, const char*) {}
void CMsgX::Printf(const char*, ...) {}
void CMsgX::WriteLine(const char*, int) {}
