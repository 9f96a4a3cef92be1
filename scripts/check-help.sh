#!/usr/bin/env bash
# Checks the help pages in help/: every link and anchor resolves, links stay inside
# the folder, no scripts, plain ASCII, and every file is reachable from index.html.
set -uo pipefail
cd "$(dirname "$0")/../help" || { echo "check-help: no help folder" >&2; exit 1; }

errors=0
fail() { echo "check-help: $*" >&2; errors=$((errors + 1)); }

# The attribute values NAME of the tags in FILE, one per line.
attr() { grep -o -i "$1=\"[^\"]*\"" "$2" | sed 's/^[^"]*"//; s/"$//'; }

# Links of FILE that point into the folder, without their anchors, one per line.
targets() { attr 'href' "$1" | sed 's/#.*//' | grep -v '^$'; attr 'src' "$1"; }

[ -f index.html ] || fail "index.html is missing"
pages=$(ls *.htm *.html 2>/dev/null)

for page in $pages; do
    grep -q -i '<script\|javascript:\|vbscript:' "$page" && fail "$page: scripts are not allowed"
    LC_ALL=C grep -q -n '[^[:print:][:space:]]' "$page" && fail "$page: characters outside ASCII"
    grep -q -i '^<!DOCTYPE' "$page" || fail "$page: no DOCTYPE"
    grep -q -i '<title>[^<]' "$page" || fail "$page: no title"

    for link in $(attr 'href' "$page") $(attr 'src' "$page"); do
        case "$link" in
        *:* | /* | \\* | *\\*) fail "$page: link '$link' is not a relative link inside the folder"; continue ;;
        esac
        file=${link%%#*}
        [ -n "$file" ] || file=$page
        if [ ! -f "$file" ]; then
            fail "$page: link '$link': no file '$file'"
            continue
        fi
        if [ "$link" != "${link#*#}" ]; then
            anchor=${link#*#}
            attr 'name' "$file" | grep -q -x -F -- "$anchor" ||
                fail "$page: link '$link': no anchor '$anchor' in $file"
        fi
    done
done

# Every file of the folder is reached from index.html.
reached=" index.html "
queue="index.html"
while [ -n "$queue" ]; do
    set -- $queue
    current=$1
    shift
    queue="$*"
    [ -f "$current" ] || continue
    case "$current" in *.htm | *.html) ;; *) continue ;; esac
    for file in $(targets "$current" | sort -u); do
        case "$reached" in *" $file "*) ;; *)
            reached="$reached$file "
            queue="$queue $file"
            ;;
        esac
    done
done
for file in *; do
    case "$reached" in *" $file "*) ;; *) fail "$file is not reached from index.html" ;; esac
done

if [ "$errors" -gt 0 ]; then
    echo "check-help: $errors problem(s)" >&2
    exit 1
fi
echo "check-help: $(echo $pages | wc -w) pages, every link resolves"
