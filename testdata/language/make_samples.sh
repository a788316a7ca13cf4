#!/usr/bin/env bash
# Writes the sample language files of the demo Orvel installation: the texts below
# are kept here in UTF-8 and written out in each language's Windows code page with
# CR LF line breaks, as Orvel stores them. Run it from anywhere after editing a text.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

write() {  # write FILE CODEPAGE  (text on stdin)
  sed 's/$/\r/' | iconv -f UTF-8 -t "$2" > "$1"
}

write english.lng CP1252 <<'EOF'
Orvel language file: English.
Every text starts on the line after its [key]; a text of several lines ends at
the first empty line.

[progname]
Orvel
[ProgDescr0]
Orvel - star charts and an observation planner
[langcharset]
0
[langname]
English
[langver]
12
[langcode]
1033
2057
3081
4105
5129
6153

[starmoths]
Star Moths
[liveupdatecaption]
Orvel update
[soundquest]
Please confirm
[asktorun]
Start Orvel now?
[installdone]
%1 has been installed successfully.

[installask]
%1 is ready to install %2.
If Orvel is running, it will be closed for the installation.
Install the update now?

[noright]
Administrator rights are needed to install this update.
Please start the installer again as an administrator.

[filecantopen]
The file
%1
cannot be opened because another program is using it.
Please close Orvel and try again.

[olderfilever]
The file %1 about to be installed is older than the one already installed.
Do you really want to replace it with the older version?

[verificationfail]
The installer could not confirm that it is intact.
It may have been damaged while it was downloaded.
Please download it again.

[badinstaller]
The installer is damaged and cannot go on.
Please download it again from the Orvel website.
EOF

write russian.lng CP1251 <<'EOF'
Файл языковой поддержки «Орвела»: русский.
Каждый текст начинается в строке после своего [ключа]; многострочный текст
заканчивается первой пустой строкой.

[progname]
Орвел
[ProgDescr0]
Орвел — звёздные карты и планировщик наблюдений
[langcharset]
204
[langname]
Русский
[langver]
12
[langcode]
1049
2073

[starmoths]
Звёздные мотыльки
[liveupdatecaption]
Обновление «Орвела»
[soundquest]
Подтвердите, пожалуйста
[asktorun]
Запустить «Орвел» сейчас?
[installdone]
%1 успешно установлено.

[installask]
%1 готово установить %2.
Если «Орвел» запущен, на время установки он будет закрыт.
Установить обновление сейчас?

[noright]
Для установки обновления нужны права администратора.
Пожалуйста, запустите установщик от имени администратора.

[filecantopen]
Не удаётся открыть файл
%1
Он занят другой программой.
Закройте «Орвел» и попробуйте снова.

[olderfilever]
Устанавливаемый файл %1 старше уже установленного.
Вы действительно хотите заменить его более старой версией?

[verificationfail]
Установщику не удалось убедиться в своей целостности.
Возможно, он был повреждён при загрузке.
Пожалуйста, загрузите его заново.

[badinstaller]
Установщик повреждён, продолжение невозможно.
Пожалуйста, загрузите его заново с сайта «Орвела».
EOF

write german.lng CP1252 <<'EOF'
Orvel-Sprachdatei: Deutsch.
Jeder Text beginnt in der Zeile nach seinem [Schlüssel]; ein mehrzeiliger Text
endet an der ersten leeren Zeile.

[progname]
Orvel
[ProgDescr0]
Orvel – Sternkarten und Beobachtungsplaner
[langcharset]
0
[langname]
Deutsch
[langver]
12
[langcode]
1031
2055
3079
4103
5127

[starmoths]
Sternenfalter
[liveupdatecaption]
Orvel-Aktualisierung
[soundquest]
Bitte bestätigen
[asktorun]
Orvel jetzt starten?
[installdone]
%1 wurde erfolgreich installiert.

[installask]
%1 kann jetzt %2 installieren.
Ein laufendes Orvel wird für die Installation beendet.
Aktualisierung jetzt installieren?

[noright]
Für diese Aktualisierung sind Administratorrechte nötig.
Bitte starten Sie das Installationsprogramm als Administrator.

[filecantopen]
Die Datei
%1
kann nicht geöffnet werden, weil ein anderes Programm sie verwendet.
Bitte schließen Sie Orvel und versuchen Sie es erneut.

[olderfilever]
Die zu installierende Datei %1 ist älter als die bereits installierte.
Wollen Sie sie wirklich durch die ältere Version ersetzen?

[verificationfail]
Das Installationsprogramm konnte nicht bestätigen, dass es unversehrt ist.
Es wurde möglicherweise beim Herunterladen beschädigt.
Bitte laden Sie es erneut herunter.

[badinstaller]
Das Installationsprogramm ist beschädigt und kann nicht fortfahren.
Bitte laden Sie es erneut von der Orvel-Website herunter.
EOF
