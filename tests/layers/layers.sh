#!/usr/bin/env bash
# Each layer includes only its own folders and those of the layers below it,
# and the wire and the engine no Qt module but QtCore and QtSerialPort: the
# engine must build and run without QtWidgets. Names every include that
# breaks the rule.
#   layers.sh SOURCE_DIR QT_INCLUDE_DIR
set -euo pipefail
src=$1
qt=$2
found=0

# The Qt module that holds a header: <QDialog> or <QtWidgets/QDialog>.
qt_module() {
    local header=$1
    if [[ $header == Qt*/* ]]; then
        echo "${header%%/*}"
        return
    fi
    local dir
    for dir in "$qt"/Qt*/; do
        if [ -f "$dir$header" ]; then
            basename "$dir"
            return
        fi
    done
}

# check FOLDERS ALLOWED_FOLDERS ALLOWED_QT_MODULES ("" for any)
check() {
    local folders=$1 allowed=$2 modules=$3 folder file include module
    for folder in $folders; do
        for file in "$src/$folder"/*.h "$src/$folder"/*.cpp; do
            [ -f "$file" ] || continue
            while read -r include; do
                if [[ $include == \"*/* ]]; then
                    include=${include//\"/}
                    if [[ " $allowed " != *" ${include%%/*} "* ]]; then
                        echo "${file#"$src"/} includes $include from a layer above"
                        found=1
                    fi
                elif [[ $include == \<Q* ]] && [ -n "$modules" ]; then
                    include=${include//[<>]/}
                    module=$(qt_module "$include")
                    if [ -n "$module" ] && [[ " $modules " != *" $module "* ]]; then
                        echo "${file#"$src"/} includes <$include> from $module"
                        found=1
                    fi
                fi
            done < <(sed -n 's/^#include *\([<"][^>"]*[>"]\).*/\1/p' "$file")
        done
    done
}

wire="mavlink"
engine="$wire cli fc params serial session"
check "$wire" "$wire" "QtCore"
check "cli fc params serial session" "$engine" "QtCore QtSerialPort"
check "pages" "$engine pages" ""
exit "$found"
