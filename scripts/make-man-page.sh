#!/usr/bin/env bash
# Writes the vextools(1) man page, gzipped, from the program's own help: help2man turns `vextools --help`
# into the page, and a VERBS section holds each verb's `--help` as it stands.
# Usage: scripts/make-man-page.sh BUILD/vextools OUTPUT.1.gz
set -euo pipefail
binary=$1 output=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# roff: backslashes doubled, a line that starts with a dot or an apostrophe made plain text.
roff() { sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"; }

# The verbs are the names listed under "Subcommands:" in the main help.
verbs=$("$binary" --help | awk '/^Subcommands:/ {on = 1; next} /^[A-Z]/ {on = 0} on && /^  [a-z]/ {print $1}')
{
  echo "[VERBS]"
  for verb in $verbs; do
    subverbs=$("$binary" "$verb" --help | awk '/^Subcommands:/ {on = 1; next} /^[A-Z]/ {on = 0} on && /^  [a-z]/ {print $1}')
    for name in "$verb" ${subverbs:+$(printf "$verb/%s " $subverbs)}; do
      echo ".SS ${name//\// }"
      echo ".nf"
      # The footer (global options, exit codes) is said once, in the sections of the main page.
      "$binary" ${name//\// } --help | sed '/^Global options/,$d' | roff
      echo ".fi"
    done
  done
  echo "[EXIT STATUS]"
  "$binary" number --help | sed -n '/^Exit codes:/,/^$/p' | sed 1d | roff | sed 's/^/.br\n/'
  echo "[FILES]"
  echo ".TP"
  echo ".I .vextools.ini"
  echo "The team's options, looked for from the project's folder upward."
  echo ".TP"
  echo ".I ~/.config/vextools/settings.ini"
  echo "The per-user options (\\fB\$XDG_CONFIG_HOME\\fR/vextools/settings.ini when set)."
  echo "[ENVIRONMENT]"
  echo ".TP"
  echo ".B VEXTOOLS_SETTINGS"
  echo "Settings file read and written instead of the per-user store."
  echo ".TP"
  echo ".B VEXTOOLS_HOME"
  echo "The add-in's directory: the error log List_Err.log and the default backup directory."
  echo ".TP"
  echo ".B NO_COLOR"
  echo "When set and not empty, the --dry-run diff is not coloured on a terminal (unless --color always)."
} > "$work/include"

help2man --no-info --section=1 --source="VexTools" \
  --name="line numbers, error handlers, indentation and backups for Visual Basic 6 projects" \
  --include="$work/include" --output="$work/vextools.1" "$binary"
gzip -9n < "$work/vextools.1" > "$output"
