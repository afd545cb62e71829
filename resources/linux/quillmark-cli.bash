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
        # the options of the command's synopsis line (not the hyphen of its name)
        options=$(grep -E "^  ${words[1]}( |$)" <<<"$help" | sed "s/^  ${words[1]}//" \
            | grep -oE -- '(^|[^a-zA-Z0-9-])--?[a-z][a-z-]*' | sed 's/^[^-]*//' | sort -u)
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # everything else is a file or a directory
    _filedir
}
complete -F _quillmark_cli quillmark-cli
