// Runs a command with its output thrown away and prints the page faults it
// took (minor and major, from getrusage), which cost much on a virtual
// machine: what fresh memory a program touches.
//   quarnet-bench-page-faults COMMAND [ARGUMENTS...]

#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const pid_t child = ::fork();
    if (child < 0)
        return 2;
    if (child == 0) {
        const int nothing = ::open("/dev/null", O_WRONLY);
        ::dup2(nothing, STDOUT_FILENO);
        ::dup2(nothing, STDERR_FILENO);
        ::execvp(argv[1], argv + 1);
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return 2;
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    std::printf("%ld\n", usage.ru_minflt + usage.ru_majflt);
    // The command's own exit code is not ours to judge (diff ends with 1
    // when maps differ); a command that could not start is.
    return WIFEXITED(status) && WEXITSTATUS(status) == 127 ? 1 : 0;
}
