# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at build time (cmake -P). Packs galmuri@VERSION from the npm registry, unpacks it and copies
# the two Galmuri11 faces to FONT_DIR as Mona12.ttf and Mona12-Bold.ttf, the 10-pixel Galmuri9 for
# small lines under its own name, and the fonts' licence.
# A failed fetch only warns: the stamp is not written, so the next build tries again.
cmake_minimum_required(VERSION 3.25)

set(tarball ${WORK_DIR}/galmuri-${VERSION}.tgz)
file(MAKE_DIRECTORY ${WORK_DIR})
if(NOT EXISTS ${tarball})
    execute_process(
        COMMAND ${NPM} pack galmuri@${VERSION} --pack-destination ${WORK_DIR}
                --fetch-retries=1 --fetch-timeout=30000 --no-audit --no-fund --loglevel=error
        WORKING_DIRECTORY ${WORK_DIR}
        RESULT_VARIABLE pack_result
        OUTPUT_QUIET
        ERROR_VARIABLE pack_error
        TIMEOUT 180)
    if(NOT pack_result EQUAL 0 OR NOT EXISTS ${tarball})
        file(REMOVE ${tarball})
        message(WARNING "Could not fetch galmuri@${VERSION} from npm (${pack_result}): "
                        "${pack_error}\nTockWork will use the system font.")
        return()
    endif()
endif()

set(unpacked ${WORK_DIR}/unpacked)
file(REMOVE_RECURSE ${unpacked})
file(MAKE_DIRECTORY ${unpacked})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xzf ${tarball}
            package/dist/Galmuri11.ttf package/dist/Galmuri11-Bold.ttf package/dist/Galmuri9.ttf
            package/dist/LICENSE.txt
    WORKING_DIRECTORY ${unpacked}
    RESULT_VARIABLE untar_result)
set(dist ${unpacked}/package/dist)
if(NOT untar_result EQUAL 0 OR NOT EXISTS ${dist}/Galmuri11.ttf OR NOT EXISTS ${dist}/Galmuri11-Bold.ttf
   OR NOT EXISTS ${dist}/Galmuri9.ttf)
    file(REMOVE ${tarball})
    message(WARNING "galmuri@${VERSION} did not contain the Galmuri11 and Galmuri9 faces; "
                    "TockWork will use the system font.")
    return()
endif()

file(MAKE_DIRECTORY ${FONT_DIR})
file(COPY_FILE ${dist}/Galmuri11.ttf ${FONT_DIR}/Mona12.ttf ONLY_IF_DIFFERENT)
file(COPY_FILE ${dist}/Galmuri11-Bold.ttf ${FONT_DIR}/Mona12-Bold.ttf ONLY_IF_DIFFERENT)
file(COPY_FILE ${dist}/Galmuri9.ttf ${FONT_DIR}/Galmuri9.ttf ONLY_IF_DIFFERENT)
file(COPY_FILE ${dist}/LICENSE.txt ${FONT_DIR}/Mona12-LICENSE.txt ONLY_IF_DIFFERENT)
# Read by whoever starts the program, not only by whoever built it: the copies keep the modes
# they were unpacked with.
file(CHMOD ${FONT_DIR}/Mona12.ttf ${FONT_DIR}/Mona12-Bold.ttf ${FONT_DIR}/Galmuri9.ttf
     ${FONT_DIR}/Mona12-LICENSE.txt PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(REMOVE_RECURSE ${unpacked})
file(WRITE ${STAMP} "galmuri ${VERSION}\n")
