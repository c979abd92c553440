// The program's own texts, as CP936 bytes: captions, the joined status texts
// and the marker that TextBetween understands.
#pragma once

namespace quorvant {

extern const char INITIAL_安全计时[];     // "安全"
extern const char INITIAL_客户进入[];     // "与手机连接状态"
extern const char INITIAL_编辑框1[];      // an eleven-digit number
extern const char INITIAL_标签1[];        // "本地：ip"
extern const char CAPTION_拨号[];         // "拨号"
extern const char ADDRESS_PREFIX[];       // "手机输入IP:"
extern const char CONNECTED_PREFIX[];     // "手机已连接！连接数："
extern const char DISCONNECTED_PREFIX[];  // "手机已断开！连接数："
extern const char COUNT_SUFFIX[];         // "个"
extern const char GUARD_SAFE[];           // "安全"
extern const char GUARD_WAIT_PREFIX[];    // "等待"
extern const char GUARD_WAIT_SUFFIX[];    // "秒"
extern const char QUOTE_MARKER[];         // "#引号", stands for a double quote

}  // namespace quorvant
