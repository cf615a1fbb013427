tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
Cy = [ 1.0000e+00      ]
Ct = [ 0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00      ]
Csw = [ 1    ]
Cc = [ 5.0000e-01      ]
% Circuit name : /home/user/th3

% Circuit Description
X = [ 'V1        1   0   1.0000e+00                 '   % V1
      'R1        1   0   1.0000e+00                 '   % R1
      'I01       1   0   0.0000e+00                 ' ] % Vo

% Output Description
Y = [ 'V         I01                                ' ] % Vo

% Number of nodes
numn = 2;
