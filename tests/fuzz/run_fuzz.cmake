# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DFUZZER=... -DRUNS=... -DSCRATCH=... -DCORPUS=... -DARTIFACTS=... -P run_fuzz.cmake
# A short, repeatable run: a fresh scratch folder first (where libFuzzer writes), the
# repository's corpus second (only read).
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${FUZZER} -runs=${RUNS} -seed=1 -timeout=10 -artifact_prefix=${ARTIFACTS}
                        ${SCRATCH} ${CORPUS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); its input is kept as ${ARTIFACTS}*")
endif()
