# Warnings on our own code only; third-party headers come in as system includes and are not
# judged. They are errors only with QUILLEX_WERROR (the test script and CI): a packager's newer
# or older compiler may warn where ours does not, and that must not stop the build.
function(quillex_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8)
        if(QUILLEX_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
        if(QUILLEX_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()
