// The templates of res/lumo.rc, as far as the window system needs them.
#include "host-sim/linux/dialog_templates.h"

#include <map>

#include "platform/win32.h"
#include "res/resource_ids.h"

namespace lumo::hostsim {

const std::vector<ControlTemplate>* dialogTemplate(int templateId) {
  static const std::map<int, std::vector<ControlTemplate>> templates =
      {
          {IDD_MEMO,
           {{IDC_MEMO_TEXT, "Edit", ""},
            {IDOK, "Button", "OK"},
            {IDCANCEL, "Button", "\xb7\xac\xdd\xbe\xd9"}}},
          {IDD_SETTINGS,
           {
               {IDOK, "Button", "OK"},
               {IDCANCEL, "Button", "\xb7\xac\xdd\xbe\xd9"},  // ｷｬﾝｾﾙ
               {IDC_STATIC, "Static", ""},
               {IDC_STATIC, "Static", "Lumo Plug-In for B2 Ver.1.2"},
               {IDC_SUB_CH, "Button",
                "\x83T\x83u\x83W\x83\x46\x83N\x83g\x82\xc9SCMail\x97p\x83^"
                "\x83O\x82\xf0\x92\xc7\x89\xc1\x82\xb7\x82\xe9\x81\x42"},  // サブジェクトにSCMail用タグを追加する。
               {IDC_SC_TAG, "Edit", ""},
               {IDC_TO_DEL, "Button",
                "\x83\x8a\x83\x93\x83N\x83\x66\x81[\x83^\x82\xc6\x82\xb5\x82\xc4\x8c\xb3\x83\x81\x81["
                "\x83\x8b\x82\xccTO\x97\x93\x82\xcd\x95\xdb\x8e\x9d\x82\xb5\x82\xc8\x82\xa2\x81\x42"},  // リンクデータとして元メールのTO欄は保持しない。
               {IDC_REAL_MAIL, "Button",
                "W\x83N\x83\x8a\x83\x62\x83N\x82\xc5\x8c\xb3\x83\x81\x81[\x83\x8b\x82\xd6("
                "\x8d\xc4\x95\xd2\x8fW\x8e\x9e\x82\xcd\x81\x41\x8c\xb3\x83\x81\x81["
                "\x83\x8b\x82\xf0\x95\xd2\x8fW)"},  // Wクリックで元メールへ(再編集時は、元メールを編集)
               {IDC_MSG_ST, "Button",
                "\x83V\x83\x87\x81["
                "\x83g\x83J\x83\x62\x83g\x8d\xec\x90\xac\x8e\x9e\x82\xcc\x83\x81\x83\x62\x83Z\x81["
                "\x83W\x82\xf0\x97}\x90\xa7\x82\xb7\x82\xe9\x81\x42"},  // ショートカット作成時のメッセージを抑制する。
               {IDC_SET_FOLDER, "Button",
                "\x83V\x83\x87\x81[\x83g\x83J\x83\x62\x83g\x8d\xec\x90\xac\x90\xe6\x83t\x83H\x83\x8b\x83_"
                "\x82\xf0\x8c\xc5\x92\xe8\x82\xc9\x82\xb7\x82\xe9\x81\x42"},  // ショートカット作成先フォルダを固定にする。
               {
                   IDC_SET_FOLDER_NAME, "Static",
                   "\x8c\xbb\x8d\xdd\x81\x41\x8d\xec\x90\xac\x90\xe6\x83t\x83H\x83\x8b\x83_"
                   "\x82\xcd\x90\xdd\x92\xe8\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1\x81"
                   "\x42"},  // 現在、作成先フォルダは設定されていません。
               {IDC_RET_FOLDER, "Button",
                "\x8e\xf3\x90M\x8e\x9e\x82\xc9\x8e\xa9\x93\xae\x93I\x82\xc9\x83V\x83\x87\x81["
                "\x83g\x83J\x83\x62\x83g\x82\xf0\x8d\xec\x90\xac\x82\xb7\x82\xe9\x81\x42"},  // 受信時に自動的にショートカットを作成する。
               {IDC_CRE_SC_MAIL_CHECK, "Button",
                "\x81u\x82\xb1\x82\xcc\x83t\x83H\x83\x8b\x83_\x82\xc9\x96\xa2\x93\xc7...\x81v\x82\xc9\x83`"
                "\x83\x46\x83\x62\x83N\x82\xaa\x82\xa0\x82\xe9\x95\xa8\x82\xcd\x81\x41\x8d\xec\x90\xac\x82"
                "\xb5\x82\xc8\x82\xa2\x81\x42"},  // 「このフォルダに未読...」にチェックがある物は、作成しない。
               {
                   IDC_RET_FOLDER_NAME, "Static",
                   "\x8c\xbb\x8d\xdd\x81\x41\x8d\xec\x90\xac\x90\xe6\x83t\x83H\x83\x8b\x83_"
                   "\x82\xcd\x90\xdd\x92\xe8\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1\x81"
                   "\x42"},  // 現在、作成先フォルダは設定されていません。
               {IDC_STATIC, "Static",
                "<\x83V\x83\x87\x81[\x83g\x83J\x83\x62\x83g\x83L\x81[\x90\xdd\x92\xe8>"},  // <ショートカットキー設定>
               {IDC_HOTKEY_LIST, "ListBox", ""},
               {IDC_HOTKEY, "msctls_hotkey32", ""},
           }},
      };
  auto found = templates.find(templateId);
  return found == templates.end() ? nullptr : &found->second;
}

}  // namespace lumo::hostsim
