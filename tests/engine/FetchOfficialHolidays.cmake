# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at build time (cmake -P). Packs @hyunbinseo/holidays-kr@VERSION from the npm registry (the
# official holiday list as published in the government's almanac, one JavaScript module a year) and
# unpacks its per-year modules to DATA_DIR, where the holiday tests read them. Test data only: the
# program never reads it. A failed fetch only warns and leaves DATA_DIR empty, so the comparison
# skips and the next build tries again.
cmake_minimum_required(VERSION 3.25)

set(tarball ${WORK_DIR}/holidays-kr-${VERSION}.tgz)
file(MAKE_DIRECTORY ${WORK_DIR})
file(REMOVE_RECURSE ${DATA_DIR})
if(NOT EXISTS ${tarball})
    execute_process(
        COMMAND ${NPM} pack @hyunbinseo/holidays-kr@${VERSION} --pack-destination ${WORK_DIR}
                --fetch-retries=1 --fetch-timeout=30000 --no-audit --no-fund --loglevel=error
        WORKING_DIRECTORY ${WORK_DIR}
        RESULT_VARIABLE pack_result
        OUTPUT_VARIABLE pack_output
        ERROR_VARIABLE pack_error
        TIMEOUT 180)
    # npm names the file after the scoped package: hyunbinseo-holidays-kr-VERSION.tgz.
    set(packed ${WORK_DIR}/hyunbinseo-holidays-kr-${VERSION}.tgz)
    if(pack_result EQUAL 0 AND EXISTS ${packed})
        file(RENAME ${packed} ${tarball})
    else()
        file(REMOVE ${packed})
        message(WARNING "Could not fetch @hyunbinseo/holidays-kr@${VERSION} from npm "
                        "(${pack_result}): ${pack_error}\n"
                        "The holiday calendar will not be compared with the official list.")
        return()
    endif()
endif()

set(unpacked ${WORK_DIR}/unpacked)
file(REMOVE_RECURSE ${unpacked})
file(MAKE_DIRECTORY ${unpacked})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xzf ${tarball}
    WORKING_DIRECTORY ${unpacked}
    RESULT_VARIABLE untar_result)
file(GLOB years ${unpacked}/package/dist/[12][0-9][0-9][0-9]-*.js)
if(NOT untar_result EQUAL 0 OR NOT years)
    file(REMOVE ${tarball})
    file(REMOVE_RECURSE ${unpacked})
    message(WARNING "@hyunbinseo/holidays-kr@${VERSION} holds no yearly lists; "
                    "the holiday calendar will not be compared with the official list.")
    return()
endif()

file(MAKE_DIRECTORY ${DATA_DIR})
file(COPY ${years} DESTINATION ${DATA_DIR})
file(REMOVE_RECURSE ${unpacked})
file(WRITE ${STAMP} "@hyunbinseo/holidays-kr ${VERSION}\n")
