# One list of what a script undoes when it ends, however it ends (its exit,
# a failure under set -e, Ctrl-C, a kill), run by one trap: sourced (POSIX
# sh and bash) by every script that leaves something behind to undo.
#
#   . scripts/at-exit.sh
#   kovna_at_exit COMMAND   run the shell command COMMAND as the script ends,
#                           the last added first; its variables are read then,
#                           and its failure stops neither the others nor the
#                           script's exit code
#
# A subshell runs none of its parent's list, as the shell gives it no trap.

kovna_at_exit_list=

kovna_at_exit() {
    kovna_at_exit_list="{ $1
} || true
$kovna_at_exit_list"
    trap kovna_at_exit_run EXIT
    # An interrupted script exits, which runs the list once.
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

kovna_at_exit_run() {
    eval "$kovna_at_exit_list"
    kovna_at_exit_list=
}
