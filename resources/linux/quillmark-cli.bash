# bash completion for quillmark-cli
#
# The commands and their options are read from `quillmark-cli --help`, so
# that the completion knows what the installed program knows.

_quillmark_cli()
{
    local cur prev words cword
    _init_completion || return

    local help
    help=$("${words[0]}" --help 2>/dev/null) || return

    if [[ $cword -eq 1 ]]; then
        local commands
        commands=$(sed -n '/^Commands:/,/^$/{s/^  \([a-z][a-z-]*\).*/\1/p}' <<<"$help")
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi

    if [[ $cur == -* ]]; then
        local options
        options=$(grep -E "^  ${words[1]}( |$)" <<<"$help" | grep -oE -- '--[a-z][a-z-]*' | sort -u)
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # everything else is a file or a directory
    _filedir
}
complete -F _quillmark_cli quillmark-cli
