// Compiled with -fexec-charset=CP936: the literals below are written in UTF-8
// and stored as the CP936 bytes that the rest of the program works in.
#include "app/texts.h"

namespace quorvant {

const char INITIAL_安全计时[] = "安全";
const char INITIAL_客户进入[] = "与手机连接状态";
const char INITIAL_编辑框1[] = "13800138000";
const char INITIAL_标签1[] = "本地：ip";
const char CAPTION_拨号[] = "拨号";
const char ADDRESS_PREFIX[] = "手机输入IP:";
const char CONNECTED_PREFIX[] = "手机已连接！连接数：";
const char DISCONNECTED_PREFIX[] = "手机已断开！连接数：";
const char COUNT_SUFFIX[] = "个";
const char GUARD_SAFE[] = "安全";
const char GUARD_WAIT_PREFIX[] = "等待";
const char GUARD_WAIT_SUFFIX[] = "秒";
const char QUOTE_MARKER[] = "#引号";

}  // namespace quorvant
