# Sourced by the package tests: check_guide_pages DIR checks the guide's web
# pages as a package holds them in DIR. Each page is UTF-8 and says so, uses
# the stylesheet beside it, and each picture it shows lies beside it; each
# link to a file leads to one beside it (so a link between the pages ends in
# .html), and each link to a place in a page finds that place.
check_guide_pages() {
  local dir=$1 page picture link file fragment shown
  [[ -f "$dir/guide.css" ]] || { echo "no stylesheet guide.css beside the pages in $dir"; return 1; }
  for page in guide.zh-CN.html guide.html command-line.html; do
    [[ -f "$dir/$page" ]] || { echo "no page $page in $dir"; return 1; }
    iconv -f UTF-8 -t UTF-8 "$dir/$page" >/dev/null || { echo "$page is not UTF-8"; return 1; }
    grep -qF '<meta charset="utf-8">' "$dir/$page" || { echo "$page does not say it is UTF-8"; return 1; }
    grep -qF '<link rel="stylesheet" href="guide.css">' "$dir/$page" || { echo "$page lacks its stylesheet"; return 1; }
    shown=0
    for picture in $(grep -o '<img [^>]*src="[^"]*"' "$dir/$page" | sed 's/.*src="//; s/"$//'); do
      [[ -f "$dir/$picture" ]] || { echo "$page shows $picture, which does not lie beside it"; return 1; }
      shown=1
    done
    # A guide without pictures would pass the check above unseen.
    [[ $page == command-line.html || $shown == 1 ]] || { echo "$page shows no picture"; return 1; }
    for link in $(grep -o '<a [^>]*href="[^"]*"' "$dir/$page" | sed 's/.*href="//; s/"$//'); do
      [[ $link == http://* || $link == https://* ]] && continue
      file=${link%%#*} fragment=
      [[ $link == *#* ]] && fragment=${link#*#}
      [[ -n $file ]] || file=$page
      [[ -f "$dir/$file" ]] || { echo "$page links to $link, which does not lie beside it"; return 1; }
      if [[ -n $fragment ]] && ! grep -qF "id=\"$fragment\"" "$dir/$file"; then
        echo "$page links to $link, which $file does not have"; return 1
      fi
    done
  done
}
