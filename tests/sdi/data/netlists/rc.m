tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
x0 = [ 0.0000e+00      ]
% Circuit name : rc

% Circuit Description
X = [ 'V1        1   0   1.0000e+01                 '   % V1
      'R1        1   2   1.0000e+03                 '   % R1
      'C1        2   0   1.0000e-06                 '   % C1
      'I01       2   0   0.0000e+00                 ' ] % Vc

% Output Description
Y = [ 'V         I01                                ' ] % Vc

% Number of nodes
numn = 3;
