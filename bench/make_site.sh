#!/usr/bin/env bash
# Writes the site the benchmarks read into FOLDER (made if missing): 1,000 pages of about
# 50 KB each, every tenth with CR LF line ends. Each head holds a dozen tags, some the
# program writes and some it does not (and a script holding "<meta" text), then a body of
# markup.
#
# Usage: bench/make_site.sh FOLDER
set -euo pipefail
mkdir -p "$1"
awk -v dir="$1" 'BEGIN {
    for (p = 0; p < 1000; p++) {
        eol = (p % 10 == 0) ? "\r\n" : "\n"
        f = sprintf("%s/page%04d.html", dir, p)
        printf "<!DOCTYPE html>%s<html lang=\"en\">%s<head>%s", eol, eol, eol > f
        printf "  <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">%s", eol > f
        printf "  <title>Page %d</title>%s", p, eol > f
        printf "  <meta name=\"description\" content=\"Page %d of the shop\">%s", p, eol > f
        printf "  <meta name=\"viewport\" content=\"width=device-width\">%s", eol > f
        printf "  <link rel=\"canonical\" href=\"https://shop.example/page%04d.html\">%s", p, eol > f
        printf "  <meta property=\"og:title\" content=\"Page %d\">%s", p, eol > f
        printf "  <link rel=\"stylesheet\" href=\"site.css\">%s", eol > f
        printf "  <script>var page = %d; // <meta name=\"robots\"> is not a tag here</script>%s", p, eol > f
        printf "  <meta name=\"robots\" content=\"index\">%s</head>%s<body>%s", eol, eol, eol > f
        size = 400
        for (i = 0; size < 50000; i++) {
            line = sprintf("<p class=\"c%d\">Item %d: <a href=\"item-%d.html\">more about it</a> &amp; its <b>price</b>.</p>", i % 7, i, i)
            printf "%s%s", line, eol > f
            size += length(line) + length(eol)
        }
        printf "</body>%s</html>%s", eol, eol > f
        close(f)
    }
}'
