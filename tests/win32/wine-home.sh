# shellcheck shell=sh
# Sourced by every script that runs Wine for a test, so that no test reaches
# the real user's desktop: Wine's menu builder would add "Soramado" and Wine's
# own entries, icons and file types to the desktop menu, and a prefix links
# its Desktop and Documents folders to $HOME.
#   private_home DIR         HOME and the XDG_* folders under DIR (made if
#                            missing), Wine's menu builder off
#   own_user_folders PREFIX  a prefix's user folders that are links (into a
#                            home) become folders of the prefix's own

private_home() {
    HOME=$1
    XDG_CONFIG_HOME=$1/.config
    XDG_DATA_HOME=$1/.local/share
    XDG_STATE_HOME=$1/.local/state
    XDG_CACHE_HOME=$1/.cache
    XDG_RUNTIME_DIR=$1/.runtime
    export HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    case ";${WINEDLLOVERRIDES:-};" in
    *";winemenubuilder.exe=d;"*) ;;
    *) WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe=d" ;;
    esac
    export WINEDLLOVERRIDES
}

own_user_folders() {
    for folder in "$1"/drive_c/users/*/*; do
        if [ -L "$folder" ]; then
            rm -f "$folder"
            mkdir "$folder"
        fi
    done
}
