#!/usr/bin/env bash
# Sets the Samba password of a user of the panel's file share. Installed on
# the panel as shell-scripts/set_smb_pwd.sh below the program's working
# directory; the program runs it as
#   sudo -n bash set_smb_pwd.sh <user>
# with the new password and a line end on standard input (a password in the
# argument list could be read by every user and would be logged by sudo).
# sudo never waits for a password there: the program's user needs a rule
# that lets it run this without one (NOPASSWD), or the change is refused.
# Exit code 1 means the password was changed.
set -u
user=${1:-}
case "$user" in
  ''|-*|*[!A-Za-z0-9._-]*) exit 2 ;;
esac
IFS= read -r password || exit 2
[ -n "$password" ] || exit 2
if printf '%s\n%s\n' "$password" "$password" | smbpasswd -s -a "$user" >/dev/null; then
  exit 1
fi
exit 3
