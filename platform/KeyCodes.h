// platform/KeyCodes.h: key codes for KeyDown and KeyHitCount, numbered as Windows virtual-key codes.
#pragma once

namespace ravel
{

///@{
/// Editing, control and cursor keys.
inline constexpr int VK_BACK = 8;
inline constexpr int VK_TAB = 9;
inline constexpr int VK_CLEAR = 12;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_SHIFT = 16;   ///< either Shift key
inline constexpr int VK_CONTROL = 17; ///< either Ctrl key
inline constexpr int VK_MENU = 18;    ///< either Alt key
inline constexpr int VK_PAUSE = 19;
inline constexpr int VK_CAPITAL = 20; ///< Caps Lock
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_PRIOR = 33; ///< Page Up
inline constexpr int VK_NEXT = 34;  ///< Page Down
inline constexpr int VK_END = 35;
inline constexpr int VK_HOME = 36;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_SELECT = 41;
inline constexpr int VK_EXECUTE = 43;
inline constexpr int VK_SNAPSHOT = 44; ///< Print Screen
inline constexpr int VK_INSERT = 45;
inline constexpr int VK_DELETE = 46;
inline constexpr int VK_HELP = 47;
///@}

///@{
/// Main-row digits '0'-'9' are 48-57 and letters 'A'-'Z' are 65-90, the characters' own codes.
inline constexpr int VK_0 = 48;
inline constexpr int VK_1 = 49;
inline constexpr int VK_2 = 50;
inline constexpr int VK_3 = 51;
inline constexpr int VK_4 = 52;
inline constexpr int VK_5 = 53;
inline constexpr int VK_6 = 54;
inline constexpr int VK_7 = 55;
inline constexpr int VK_8 = 56;
inline constexpr int VK_9 = 57;
///@}
///@{
/// Letter keys 'A'-'Z' are 65-90, the capital letters' own codes.
inline constexpr int VK_A = 65;
inline constexpr int VK_B = 66;
inline constexpr int VK_C = 67;
inline constexpr int VK_D = 68;
inline constexpr int VK_E = 69;
inline constexpr int VK_F = 70;
inline constexpr int VK_G = 71;
inline constexpr int VK_H = 72;
inline constexpr int VK_I = 73;
inline constexpr int VK_J = 74;
inline constexpr int VK_K = 75;
inline constexpr int VK_L = 76;
inline constexpr int VK_M = 77;
inline constexpr int VK_N = 78;
inline constexpr int VK_O = 79;
inline constexpr int VK_P = 80;
inline constexpr int VK_Q = 81;
inline constexpr int VK_R = 82;
inline constexpr int VK_S = 83;
inline constexpr int VK_T = 84;
inline constexpr int VK_U = 85;
inline constexpr int VK_V = 86;
inline constexpr int VK_W = 87;
inline constexpr int VK_X = 88;
inline constexpr int VK_Y = 89;
inline constexpr int VK_Z = 90;
///@}

///@{
/// The system keys: left and right Windows keys, context menu, sleep.
inline constexpr int VK_LWIN = 91;
inline constexpr int VK_RWIN = 92;
inline constexpr int VK_APPS = 93; ///< the context-menu key
inline constexpr int VK_SLEEP = 95;
///@}

///@{
/// Keypad digits 0-9 are 96-105, then its * + separator - . / keys.
inline constexpr int VK_NUMPAD0 = 96;
inline constexpr int VK_NUMPAD1 = 97;
inline constexpr int VK_NUMPAD2 = 98;
inline constexpr int VK_NUMPAD3 = 99;
inline constexpr int VK_NUMPAD4 = 100;
inline constexpr int VK_NUMPAD5 = 101;
inline constexpr int VK_NUMPAD6 = 102;
inline constexpr int VK_NUMPAD7 = 103;
inline constexpr int VK_NUMPAD8 = 104;
inline constexpr int VK_NUMPAD9 = 105;
inline constexpr int VK_MULTIPLY = 106;
inline constexpr int VK_ADD = 107;
inline constexpr int VK_SEPARATOR = 108;
inline constexpr int VK_SUBTRACT = 109;
inline constexpr int VK_DECIMAL = 110;
inline constexpr int VK_DIVIDE = 111;
///@}

///@{
/// F1-F24 are 112-135.
inline constexpr int VK_F1 = 112;
inline constexpr int VK_F2 = 113;
inline constexpr int VK_F3 = 114;
inline constexpr int VK_F4 = 115;
inline constexpr int VK_F5 = 116;
inline constexpr int VK_F6 = 117;
inline constexpr int VK_F7 = 118;
inline constexpr int VK_F8 = 119;
inline constexpr int VK_F9 = 120;
inline constexpr int VK_F10 = 121;
inline constexpr int VK_F11 = 122;
inline constexpr int VK_F12 = 123;
inline constexpr int VK_F13 = 124;
inline constexpr int VK_F14 = 125;
inline constexpr int VK_F15 = 126;
inline constexpr int VK_F16 = 127;
inline constexpr int VK_F17 = 128;
inline constexpr int VK_F18 = 129;
inline constexpr int VK_F19 = 130;
inline constexpr int VK_F20 = 131;
inline constexpr int VK_F21 = 132;
inline constexpr int VK_F22 = 133;
inline constexpr int VK_F23 = 134;
inline constexpr int VK_F24 = 135;
///@}

///@{
/// Num Lock and Scroll Lock.
inline constexpr int VK_NUMLOCK = 144;
inline constexpr int VK_SCROLL = 145;
///@}
inline constexpr int VK_OEM_NEC_EQUAL = 146; ///< '=' on the keypad

///@{
/// Left and right Shift, Ctrl and Alt, told apart; VK_SHIFT, VK_CONTROL and VK_MENU read either.
inline constexpr int VK_LSHIFT = 160;
inline constexpr int VK_RSHIFT = 161;
inline constexpr int VK_LCONTROL = 162;
inline constexpr int VK_RCONTROL = 163;
inline constexpr int VK_LMENU = 164; ///< left Alt
inline constexpr int VK_RMENU = 165; ///< right Alt (AltGr)
///@}

///@{
/// Browser, volume, media and launch keys of multimedia keyboards.
inline constexpr int VK_BROWSER_BACK = 166;
inline constexpr int VK_BROWSER_FORWARD = 167;
inline constexpr int VK_BROWSER_REFRESH = 168;
inline constexpr int VK_BROWSER_STOP = 169;
inline constexpr int VK_BROWSER_SEARCH = 170;
inline constexpr int VK_BROWSER_FAVORITES = 171;
inline constexpr int VK_BROWSER_HOME = 172;
inline constexpr int VK_VOLUME_MUTE = 173;
inline constexpr int VK_VOLUME_DOWN = 174;
inline constexpr int VK_VOLUME_UP = 175;
inline constexpr int VK_MEDIA_NEXT_TRACK = 176;
inline constexpr int VK_MEDIA_PREV_TRACK = 177;
inline constexpr int VK_MEDIA_STOP = 178;
inline constexpr int VK_MEDIA_PLAY_PAUSE = 179;
inline constexpr int VK_LAUNCH_MAIL = 180;
inline constexpr int VK_LAUNCH_MEDIA_SELECT = 181;
inline constexpr int VK_LAUNCH_APP1 = 182;
inline constexpr int VK_LAUNCH_APP2 = 183;
///@}

/// Punctuation keys, named for the characters they give on a US layout.
inline constexpr int VK_OEM_1 = 186;      ///< ';'
inline constexpr int VK_OEM_PLUS = 187;   ///< '='
inline constexpr int VK_OEM_COMMA = 188;  ///< ','
inline constexpr int VK_OEM_MINUS = 189;  ///< '-'
inline constexpr int VK_OEM_PERIOD = 190; ///< '.'
inline constexpr int VK_OEM_2 = 191;      ///< '/'
inline constexpr int VK_OEM_3 = 192;      ///< '`'
inline constexpr int VK_OEM_4 = 219;      ///< '['
inline constexpr int VK_OEM_5 = 220;      ///< '\'
inline constexpr int VK_OEM_6 = 221;      ///< ']'
inline constexpr int VK_OEM_7 = 222;      ///< '\''
inline constexpr int VK_OEM_102 = 226;    ///< the extra key beside left Shift on ISO keyboards

} // namespace ravel
