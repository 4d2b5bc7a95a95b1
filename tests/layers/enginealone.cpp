// Linked with every object of the engine and only QtCore and QtSerialPort:
// it builds only while no part of the engine needs QtGui or QtWidgets.
int main()
{
    return 0;
}
