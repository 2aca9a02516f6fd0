#pragma once

// A text in the script of each item of the character-set list and its bytes in the
// encoding browsers read that item's label as (windows-1252 for ISO-8859-1 and
// windows-1254 for ISO-8859-9), written out from the standard's tables independently of
// the program. Each is shorter than the description's place in the record.
//   tst_cli (pack, show, generate), tst_file_commands (Save, Open, Export)

#include <QByteArray>
#include <QString>

namespace scripts {

struct Text {
    int set; // the item of the character-set list
    const char *language;
    const char16_t *text;
    const char *bytes;

    QString string() const { return QString::fromUtf16(text); }
    QByteArray encoded() const { return QByteArray(bytes); }
};

inline constexpr Text texts[] = {
    {0, "Western", u"Cr\u00e8me br\u00fbl\u00e9e \u2013 \u201c\u00e0 la carte\u201d \u20ac5",
     "Cr\xe8me br\xfbl\xe9"
     "e \x96 \x93\xe0 la carte\x94 \x80"
     "5"},
    {1, "Polish", u"Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105 ja\u017a\u0144",
     "Za\xbf\xf3\xb3\xe6 g\xea\xb6l\xb1 ja\xbc\xf1"},
    {2, "Esperanto",
     u"\u0108u vi \u015datas \u011din? E\u0125o\u015dan\u011do \u0109iu\u0135a\u016dde",
     "\xc6u vi \xfe"
     "atas \xf8in? E\xb6o\xfe"
     "an\xf8o \xe6iu\xbc"
     "a\xfd"
     "de"},
    {3, "Latvian", u"Latvie\u0161u valoda: \u0137\u0113ni\u0146\u0161, \u013coti, gr\u0101mata",
     "Latvie\xb9u valoda: \xf3\xbani\xf1\xb9, \xb6oti, gr\xe0mata"},
    {4, "Russian",
     u"\u0421\u044a\u0435\u0448\u044c \u0436\u0435 \u0435\u0449\u0451 \u044d\u0442\u0438\u0445 "
     u"\u043c\u044f\u0433\u043a\u0438\u0445 \u0431\u0443\u043b\u043e\u043a",
     "\xc1\xea\xd5\xe8\xec \xd6\xd5 \xd5\xe9\xf1 \xed\xe2\xd8\xe5 \xdc\xef\xd3\xda\xd8\xe5 "
     "\xd1\xe3\xdb\xde\xda"},
    {5, "Arabic",
     u"\u0645\u0631\u062d\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645\u060c "
     u"\u0643\u064a\u0641 \u062d\u0627\u0644\u0643\u061f",
     "\xe5\xd1\xcd\xc8\xc7 \xc8\xc7\xe4\xd9\xc7\xe4\xe5\xac \xe3\xea\xe1 \xcd\xc7\xe4\xe3\xbf"},
    {6, "Greek",
     u"\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u03ba\u03cc\u03c3\u03bc\u03b5, \u20ac5",
     "\xca\xe1\xeb\xe7\xec\xdd\xf1\xe1 \xea\xfc\xf3\xec\xe5, \xa4"
     "5"},
    {7, "Hebrew", u"\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd",
     "\xf9\xec\xe5\xed \xf2\xe5\xec\xed"},
    {8, "Turkish",
     u"\u00c7ok g\u00fczel, \u0130stanbul\u2019da \u0131\u015f\u0131k ve \u015feker \u20ac",
     "\xc7ok g\xfczel, \xddstanbul\x92"
     "da \xfd\xfe\xfdk ve \xfe"
     "eker \x80"},
    {9, "Japanese",
     u"\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8\u3001\u6f22\u5b57\u3068\u304b\u306a",
     "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x81\xae\xe3\x83\x86\xe3\x82\xad\xe3\x82\xb9\xe3"
     "\x83\x88\xe3\x80\x81\xe6\xbc\xa2\xe5\xad\x97\xe3\x81\xa8\xe3\x81\x8b\xe3\x81\xaa"},
};

} // namespace scripts
