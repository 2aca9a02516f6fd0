#pragma once

// The toy workshop page: one set of values that fills every field, and the lines
// the generator must write for it, literally. Shared by the generator, companion
// and main window tests so all check against the same text.

#include <QStringList>

namespace worked {

// What the user enters for it: control names as in the field catalogue, "Pref." before
// an edit of the Preferences dialog; a list by its item, a check box checked by "1".
// Every other field keeps its start-up value.
struct Input {
    const char *control;
    const char *value;
};

inline constexpr Input inputs[] = {
    {"Edit1", "Hand-made wooden toys"},
    {"Edit2", "toys, wooden, handmade"},
    {"Edit3", "Toy Workshop"},
    {"Edit4", "Text editor"},
    {"Edit5", "14"},
    {"Edit6", "Wooden Toys"},
    {"Edit7", "2001, 2002"},
    {"ComboBox5", "en-us"},
    {"Edit8", "new.html"},
    {"Edit9", "5"},
    {"ComboBox6", "Fri"},
    {"ComboBox7", "31"},
    {"ComboBox8", "Dec"},
    {"Edit10", "2004"},
    {"Edit11", "23"},
    {"Edit12", "59"},
    {"Pref.Edit1", "Wooden Toys"},
    {"Pref.Edit2", "style.css"},
    {"Pref.Edit3", "favicon.ico"},
    {"ComboBox9", "No-Cache"},
    {"Edit16", "rated-general"},
    {"CheckBox3", "1"},
    {"Edit34", "text/xsl"},
    {"ComboBox13", "Hobbies"},
    {"Edit17", "Hand-made wooden toys"},
    {"Edit18", "Wooden Toys"},
    {"Edit19", "Toy Workshop"},
    {"Edit21", "toys, wooden, handmade"},
    {"Edit20", "Hand-made wooden toys"},
    {"Edit22", "Toy Workshop"},
    {"Edit23", "Photo Studio"},
    {"Edit24", "2002-06-01"},
    {"Edit25", "Text"},
    {"Edit26", "text/html"},
    {"Edit27", "toys.html"},
    {"Edit28", "catalogue"},
    {"Edit29", "en-us"},
    {"Edit30", "index.html"},
    {"Edit31", "World"},
    {"Edit32", "All rights reserved"},
};

inline QStringList metaLines()
{
    return {
        QStringLiteral(R"(<meta name="description" content="Hand-made wooden toys">)"),
        QStringLiteral(R"(<meta name="keywords" content="toys, wooden, handmade">)"),
        QStringLiteral(R"(<meta name="author" content="Toy Workshop">)"),
        QStringLiteral(R"(<meta name="generator" content="Text editor">)"),
        QStringLiteral(R"(<meta name="revisit-after" content="14 days">)"),
        QStringLiteral(R"(<meta http-equiv="title" content="Wooden Toys">)"),
        QStringLiteral(R"(<meta name="copyright" content="2001, 2002">)"),
        QStringLiteral(R"(<meta name="distribution" content="Global">)"),
        QStringLiteral(R"(<meta name="rating" content="General">)"),
        QStringLiteral(R"(<meta name="robots" content="All">)"),
        QStringLiteral(
            R"(<meta http-equiv="Content-Type" content="text/html; charset=ISO-8859-1">)"),
        QStringLiteral(R"(<meta http-equiv="content-language" content="en-us">)"),
        QStringLiteral(R"(<meta http-equiv="refresh" CONTENT="5; url=new.html">)"),
        QStringLiteral(R"(<meta http-equiv="expires" content="Fri, 31 Dec 2004 23:59:00 GMT">)"),
        QStringLiteral(R"(<meta http-equiv="pragma" content="No-Cache">)"),
        QStringLiteral(R"(<meta http-equiv="window-target" content="_top">)"),
        QStringLiteral(R"(<meta http-equiv="pics-label" content="rated-general">)"),
        QStringLiteral(R"(<meta http-equiv="Content-Script-Type" content="text/javascript">)"),
        QStringLiteral(R"(<meta http-equiv="Content-Style-Type" content="text/xsl">)"),
        QStringLiteral(R"(<meta http-equiv="classification" content="Hobbies">)"),
        QStringLiteral(R"(<!--Hand-made wooden toys-->)"),
        QStringLiteral(R"(<meta name="dc.title" content="Wooden Toys">)"),
        QStringLiteral(R"(<meta name="dc.creator" content="Toy Workshop">)"),
        QStringLiteral(R"(<meta name="dc.subject" content="toys, wooden, handmade">)"),
        QStringLiteral(R"(<meta name="dc.description" content="Hand-made wooden toys">)"),
        QStringLiteral(R"(<meta name="dc.publisher" content="Toy Workshop">)"),
        QStringLiteral(R"(<meta name="dc.contributor" content="Photo Studio">)"),
        QStringLiteral(R"(<meta name="dc.date" content="2002-06-01">)"),
        QStringLiteral(R"(<meta name="dc.type" content="Text">)"),
        QStringLiteral(R"(<meta name="dc.format" content="text/html">)"),
        QStringLiteral(R"(<meta name="dc.identifier" content="toys.html">)"),
        QStringLiteral(R"(<meta name="dc.source" content="catalogue">)"),
        QStringLiteral(R"(<meta name="dc.language" content="en-us">)"),
        QStringLiteral(R"(<meta name="dc.relation" content="index.html">)"),
        QStringLiteral(R"(<meta name="dc.coverage" content="World">)"),
        QStringLiteral(R"(<meta name="dc.rights" content="All rights reserved">)"),
    };
}

inline QStringList fullPageLines()
{
    QStringList lines{
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral("<TITLE>Wooden Toys</TITLE>"),
        QStringLiteral(R"(<link rel="shortcut icon" href="favicon.ico">)"),
        QStringLiteral(R"(<link rel=stylesheet href="style.css" type="text/css">)"),
    };
    lines << metaLines();
    lines << QStringLiteral("</HEAD>") << QStringLiteral("<BODY>") << QString()
          << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");
    return lines;
}

} // namespace worked
