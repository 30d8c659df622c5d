# bash completion for tarvelo-cli: its commands, then each command's options and their values.

_tarvelo_cli() {
    local cur prev words cword
    _init_completion || return

    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            convert | detect | eval | fix | simulate) command=${words[i]}; break ;;
        esac
    done

    case $prev in
        --to) COMPREPLY=($(compgen -W 'ru en' -- "$cur")); return ;;
        --signals) COMPREPLY=($(compgen -W 'system none' -- "$cur")); return ;;
        --format) COMPREPLY=($(compgen -W 'markdown tsv' -- "$cur")); return ;;
        --en | --ru | --data) _filedir; return ;;
        --sensitivity | --pace | --top) return ;;
    esac

    local options
    case $command in
        "") COMPREPLY=($(compgen -W 'convert detect eval fix simulate --help --version' -- "$cur")); return ;;
        convert) options='--to --help' ;;
        detect) options='--sensitivity --signals --help' ;;
        eval) options='--en --ru --signals --sensitivity --format --data --top --help' ;;
        fix) options='--sensitivity --signals --help' ;;
        simulate) options='--pace --sensitivity --signals --help' ;;
    esac
    [[ $cur == -* ]] && COMPREPLY=($(compgen -W "$options" -- "$cur"))
}
complete -F _tarvelo_cli tarvelo-cli
