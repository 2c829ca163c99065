# Sourced by the setup scripts. Derives deb-src entries from the machine's own
# binary package sources (so no archive host is ever written into the
# repository) and refreshes apt's lists, binary and source together.
PROJECT_SRC_LIST=/etc/apt/sources.list.d/project-deb-src.sources
PROJECT_SRC_LIST_OLD=/etc/apt/sources.list.d/project-deb-src.list

project_enable_sources() {
  if [[ -f "$PROJECT_SRC_LIST" || -f "$PROJECT_SRC_LIST_OLD" ]]; then return 1; fi
  local tmp f
  tmp="$(mktemp)"
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -e "$f" && "$f" != "$PROJECT_SRC_LIST" ]] || continue
    grep -q '^Types:.*deb-src' "$f" && continue
    sed -e 's/^Types:.*/Types: deb-src/' "$f" >>"$tmp"
    echo >>"$tmp"
  done
  if [[ -s "$tmp" ]]; then install -m 644 "$tmp" "$PROJECT_SRC_LIST"; fi
  if [[ -f /etc/apt/sources.list ]] && grep -qE '^deb ' /etc/apt/sources.list; then
    grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' >"$PROJECT_SRC_LIST_OLD"
  fi
  rm -f "$tmp"
  return 0
}

# apt-get update with both lists, once per setup run.
project_apt_update() {
  if [[ -z "${PROJECT_APT_UPDATED:-}" ]]; then
    apt-get update -qq
    PROJECT_APT_UPDATED=1
  fi
}
