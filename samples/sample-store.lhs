# The built-in sample mail store: one mailbox with an inbox, a trash folder
# and two ordinary folders, a few mails with Japanese and English subjects.
# Run inside lumo-host with a store chosen by --store or "store DIR".
folder Sample.mb\ "Sample"
folder Sample.mb\!!!!Inbox\ "受信箱"
folder Sample.mb\!Trash\ "ごみ箱"
folder Sample.mb\Work\ "仕事"
folder Sample.mb\Work\Projects\ "プロジェクト"
folder Sample.mb\Shortcuts\ "ショートカット"
mail Sample.mb\!!!!Inbox\ <20261208070001.a1@example.com> "会議の件" "明日の会議は10時からです。"
mail Sample.mb\!!!!Inbox\ <20261208070002.a2@example.com> "Quarterly report" "Attached is the report."
mail Sample.mb\!!!!Inbox\ <20261208070003.a3@example.com> "お知らせ" "システム保守のお知らせです。" read
mail Sample.mb\Work\ <20261208070004.w1@example.com> "見積書の送付" "見積書をお送りします。"
mail Sample.mb\Work\Projects\ <20261208070005.p1@example.com> "Project kickoff" "Kickoff on Monday."
